#pragma once
// The party's fixture (play/PartyFixture.h) on a frame's World and Play.

#include "play/PartyFixture.h"
#include "shell/WorldFileFixture.h"

namespace partytest {

class PartyFixture : public PartyOn<worldfile_test::WorldFileTest> {};

}  // namespace partytest
