#pragma once
// A token is carried and given to a token taker, a lever that switches when a
// token is put into it.

#include "structures/Fixtures.h"
#include "world/Object.h"
#include "world/StoredClass.h"

class Token : public Object {
    QV_STORED_CLASS(Token)
    int Type() override { return TOKEN; }
    int CanInteract() override { return 1; }
    std::pair<int, int> GetUseRange(Player*) override { return {0, 0}; }
    int IsValidTarget(Object* target) override { return target && target->Type() == TOKENTAKER; }
    int GetWeight() override { return m_iWeight * m_iBulkNum; }
    // Given to a token taker: the taker switches and one token is spent. 1
    // when it was the user's last (the caller lets it go), 0 otherwise and for
    // any other target.
    int Use(Player* user, Object* target) override;
};

class TokenTaker : public Lever {
    QV_STORED_CLASS(TokenTaker)
    int Type() override { return TOKENTAKER; }
    // Code 4, a token given: the lever switches.
    int Activate(int* action, Player* actor) override;
    void SetImageFrame(int*, int*) override {}
};
