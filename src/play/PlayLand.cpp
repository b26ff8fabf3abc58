// The land under the view and the moves that put the view and the party back
// in order after the map changed under them: into the lands around the focus,
// to another world file, and the editor's new worlds and lands.

#include <algorithm>
#include <limits>
#include <vector>

#include "creatures/Player.h"
#include "events/GameEvent.h"
#include "items/ActiveSpells.h"
#include "items/Spell.h"
#include "media/DDWnd.h"
#include "platform/Archive.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "platform/Saturate.h"
#include "play/Play.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

const char* const kPlayersFile = "players";
// Where a new character's companions start their conversations.
const char* const kDogNode = "DOGHELLO";
// The party placed around the focus (`PartySpot`).
constexpr int32_t kPlacingRow = 3;
constexpr int32_t kPlacingSpacing = 20;
constexpr int32_t kPlacingStart = 10;
// A world change arrives this far into the target cell.
constexpr int32_t kArrivalOffset = 10;
// The size the editor's world dialog proposes, and the code of every cell of
// a new world's land.
constexpr int32_t kNewLandCode = 3;
const char* const kWorldFilter = "Quorvale Files (*.qvr) | *.qvr;*.qvr ||";
const char* const kLandFilter = "Land Files (*.lnd) | *.lnd;*.lnd ||";

Player* AsCreature(Member* m) {
    return m && m->Type() == PLAYER ? qv::DynamicCast<Player>(m) : nullptr;
}

// A file name chosen in a dialog, without its folder; empty for a name that
// is no plain file name.
std::string PlainName(const std::string& chosen) {
    const size_t cut = chosen.find_last_of("/\\");
    std::string name = cut == std::string::npos ? chosen : chosen.substr(cut + 1);
    return qv::IsPlainFileName(name) ? name : std::string();
}

// The creature of an actor number when it is there and dead.
Player* DeadActor(int32_t actor) {
    if (actor == -1) return nullptr;  // no one
    Player* p = ResolveActor(actor);
    return p && p->m_sLifeState < 1 ? p : nullptr;
}

}  // namespace

Position Play::PartySpot(qv::Point focus, int32_t n) {
    return Position(
        qv::ClampToInt32(int64_t{focus.x} + (n % kPlacingRow) * kPlacingSpacing + kPlacingStart),
        qv::ClampToInt32(int64_t{focus.y} + (n / kPlacingRow) * kPlacingSpacing + kPlacingStart),
        0);
}

void Play::TakeHolderOffMap(Member* member) {
    ObjectHolder* holder = member ? member->m_pHolder : nullptr;
    if (!holder) return;
    if (Map()) Map()->RemoveHolder(holder->pos, holder);
    member->m_pHolder = nullptr;
    holder->m_pObject = nullptr;
    delete holder;
}

// ---- Moving into the lands around the focus

int Play::MoveToLand() {
    World& w = m_World;
    m_Travel.SetCurrentLand(nullptr);
    if (Map()) {
        Position focus(w.m_ptFocus.x, w.m_ptFocus.y, 0);
        Map()->WrapPosition(focus);
        w.m_ptFocus = {focus.x, focus.y};
        Map()->focuscell = MapMaster::PixelToCell(focus);
    }
    for (Player*& p : w.m_PlayerArray) {
        if (p) p->LeavePlayerSet();
        p = nullptr;
    }
    try {
        // Without lands there is nothing to stream in: the window keeps what
        // it holds.
        if (Map() && Map()->landgraph)
            Map()->ReloadWindowAt(Map()->focuscell.x, Map()->focuscell.y);
    } catch (const qv::FileError& error) {
        ReportFileException(error);
    } catch (const qv::ArchiveError& error) {
        ReportFileException(savefile::AsFileError(error, error.file));
    }

    m_Travel.SetPlacingParty(true);
    if (m_Travel.IsRefreshPending() || m_Travel.IsLandMovePending()) BringBackParty();
    if (m_Saves.IsLoadingGame()) EndSpellsOfTheDead();
    m_Travel.SetPlacingParty(false);
    m_Saves.SetLoadingGame(false);

    // The groups find their leaders again; hostile ones turn on the party.
    Player* leader = w.m_pLeader.Get();
    Group* party = leader ? leader->m_pGroup : nullptr;
    for (size_t i = 1; i < w.m_GroupArray.size(); ++i) {
        Group* group = w.m_GroupArray[i];
        if (!group) continue;
        Player* head = nullptr;
        if (group == party) {
            head = leader;
        } else if (group->m_iLeaderId >= 0 &&
                   static_cast<size_t>(group->m_iLeaderId) < w.m_PlayerArray.size()) {
            head = w.m_PlayerArray[static_cast<size_t>(group->m_iLeaderId)];
        }
        group->m_pGroupLeader = head;
        if (group->m_iHostileMode && party && party != group) {
            group->SetHostileMode(1, party);
            party->SetHostileMode(1, group);
            group->FindOpponents(party);
        }
    }

    RunWaitingEvents();

    // The leader is the one controlled; a negative slot number marks it, and
    // it alone.
    leader = w.m_pLeader.Get();
    w.m_pControlPlayer = leader;
    for (const auto& member : w.m_Party)
        if (Player* p = member.Get(); p && p != leader && p->m_iPartySlot < 0)
            p->m_iPartySlot = -p->m_iPartySlot;
    if (leader && leader->m_iPartySlot >= 0)
        leader->m_iPartySlot = leader->m_iPartySlot > 0 ? -leader->m_iPartySlot : -1;
    // The party's slots lead their group's list, slot 0 first.
    if (m_iStartState == 0 && !m_Travel.IsRefreshPending() && leader && leader->m_pGroup) {
        Group* group = leader->m_pGroup;
        std::array<Player*, kPartySlots> members{};
        for (size_t i = 0; i < members.size(); ++i) members[i] = w.m_Party[i].Get();
        for (Player* p : members)
            if (p) group->RemoveMember(p);
        for (auto it = members.rbegin(); it != members.rend(); ++it)
            if (*it) group->AddMember(*it);
    }
    // The formation's turned rows are made at the first placement too, so
    // that followers do not gather on the leader until the first land move.
    if (leader) {
        m_Party.InitFormation();
        m_Party.RebaseFormation(m_World);
    }
    if (m_Editing.IsEditing() && m_iStartState == 0 && !Shell().RedrawToolPalette())
        m_Editing.SetEditing(false);
    return 1;
}

void Play::BringBackParty() {
    World& w = m_World;
    Group* stored = w.m_GroupArray.size() > World::kPartyGroupSlot
                        ? w.m_GroupArray[World::kPartyGroupSlot]
                        : nullptr;
    if (m_Saves.SkipsPlayersFile()) {
        // Nothing replaces the party kept in the world: it stays, and when
        // its members were kept inside it they come onto the map.
        if (stored && stored->m_bGrouped) {
            int32_t counter = 0;
            PlaceGroup(stored, &counter);
        }
    } else {
        // The party the world kept, and the one placed before (a second move
        // before the next tick reads "players" again), give way to the one
        // in "players"; the frame's pointers into them let go as they go.
        Group* previous = w.m_pLeader ? w.m_pLeader->m_pGroup : nullptr;
        if (previous && (previous == w.m_pAllGroups || previous == w.m_pRandomEncounters ||
                         previous == w.m_pGroupTempStorage.Get() ||
                         w.GetGroupByNumber(previous->m_iOwnGroupNum) != previous))
            previous = nullptr;
        // Handles: one of them may hold the other and take it along.
        const qv::Handle<Group> going[] = {stored, previous == stored ? nullptr : previous};
        for (const qv::Handle<Group>& handle : going) {
            Group* gone = handle.Get();
            if (!gone) continue;
            delete gone;  // it takes its members off the map first
        }
        ReadPartyFromPlayers();
    }

    Player* leader = w.m_pLeader.Get();
    if (m_Party.IsNewCharacterPending()) {
        m_Party.SetNewCharacterPending(false);
        if (leader) {
            leader->m_iStrength = leader->m_iCurStr = m_Party.NewStrength();
            leader->m_iDexterity = leader->m_iCombatDexterity = m_Party.NewDexterity();
            leader->m_iIntelligence = leader->m_iCurInt = m_Party.NewIntelligence();
            // A name left empty keeps the one the character has.
            if (!m_Party.PlayerName().empty()) leader->SetName(m_Party.PlayerName());
            if (Group* party = leader->m_pGroup)
                for (Member* m : party->Members()) {
                    Player* dog = AsCreature(m);
                    if (!dog || dog == leader) continue;
                    if (!m_Party.DogName().empty()) dog->SetName(m_Party.DogName());
                    dog->m_strMessageNode = kDogNode;
                }
        }
    }
    auto nameOf = [this](const char* attribute, const std::string& name, int actor) {
        if (!name.empty()) return;
        if (Player* p = ResolveActor(actor))
            m_Party.SetNewCharacter(attribute, 0, p->GetDisplayName());
    };
    nameOf(NewCharacterAttribute::kPlayerName, m_Party.PlayerName(), kPlayerActor);
    nameOf(NewCharacterAttribute::kDogName, m_Party.DogName(), kDogActor);
}

void Play::CheckPartyNumber(const World& w, const Group& party, const std::string& path,
                            const Group* givingWay) {
    const int32_t number = party.m_iOwnGroupNum;
    if (number < 1 || number > Group::kMaxGroupNumber)
        throw qv::FileError(qv::FileError::Other, path,
                            qv::Format("a party group numbered %d", number));
    const Group* other = w.GetGroupByNumber(number);
    if (other && other != givingWay)
        throw qv::FileError(
            qv::FileError::Other, path,
            qv::Format("a party group numbered %d, the number of another group", number));
}

void Play::ReadPartyFromPlayers() {
    World& w = m_World;
    const std::string path = m_Saves.InCurrentFolder(kPlayersFile);
    std::unique_ptr<Group> party;
    try {
        party = savefile::ReadPlayersFrom(
            m_Saves.PartyOutOfPlay() ? *m_Saves.PartyOutOfPlay() : qv::ReadWholeFile(path), path);
        CheckPartyNumber(w, *party, path, nullptr);
    } catch (const qv::FileError& error) {
        ReportFileException(error);
        return;
    } catch (const qv::ArchiveError& error) {
        ReportFileException(savefile::AsFileError(error, path));
        return;
    }
    if (!w.m_pAllGroups) w.CreateRootGroups();
    Group* group = party.release();
    w.m_pAllGroups->AddMemberDirect(group);
    group->SetGroupNumber(group->m_iOwnGroupNum);
    w.BindParty(group);
    int32_t counter = 0;
    PlaceGroup(group, &counter);
}

void Play::EndSpellsOfTheDead() {
    // The spells a dead creature cast, or that work on one, end; the list
    // ends them safely, whatever their ending ends besides.
    std::vector<qv::Handle<Player>> casters, targets;
    for (Spell* spell : m_World.m_ActiveSpells->Spells()) {
        if (Player* caster = DeadActor(spell->m_iCaster)) {
            casters.emplace_back(caster);
            continue;
        }
        for (int32_t target : spell->m_Targets)
            if (Player* p = DeadActor(target)) targets.emplace_back(p);
    }
    for (auto& caster : casters)
        if (Player* p = caster.Get()) p->CancelCastSpells(SpellEffectKind::Any);
    for (auto& target : targets)
        if (Player* p = target.Get()) p->CancelSpellsOn(SpellEffectKind::Any);
}

void Play::RunWaitingEvents() {
    // A move made by an event leaves the walk to the move already running.
    if (m_bRunningEvents) return;
    struct Running {
        int& flag;
        explicit Running(int& f) : flag(f) { flag = 1; }
        ~Running() { flag = 0; }
    } running(m_bRunningEvents);
    ::RunWaitingEvents(m_World);
}

// ---- Placing a group

int Play::PlaceGroup(Group* group, int32_t* counter) {
    if (!group || !counter) return 1;
    PlaceMembers(group, counter, false);
    // The party's leader left outside the window: the whole group comes to
    // the focus (a nested group too, before the group around it does).
    Player* leader = m_World.m_pLeader.Get();
    if (leader && Map()) {
        Position at = leader->m_Position;
        Map()->WrapPosition(at);
        CellPoint window;
        if (!Map()->CellToWindow(MapMaster::PixelToCell(at), window))
            PlaceMembers(group, counter, true);
    }
    return 1;
}

void Play::PlaceMembers(Group* group, int32_t* counter, bool atFocus) {
    group->m_bGrouped = 0;
    const bool formation =
        atFocus || (m_Travel.IsPlacingParty() &&
                    (!m_Saves.IsLoadingGame() || m_Party.IsNewCharacterPending()) &&
                    !m_Travel.IsLandMovePending());
    const std::vector<Member*> members(group->Members().begin(), group->Members().end());
    for (Member* m : members) {
        if (m->m_pGroup != group) continue;  // left while others were placed
        if (m->IsGroup()) {
            auto* nested = static_cast<Group*>(m);
            if (atFocus)
                PlaceMembers(nested, counter, true);
            else
                PlaceGroup(nested, counter);
            continue;
        }
        Player* p = AsCreature(m);
        if (!p) continue;
        if (formation) p->m_Position = PartySpot(m_World.m_ptFocus, *counter);
        TakeHolderOffMap(p);
        Position pos = p->m_Position;
        if (Map()) Map()->WrapPosition(pos);
        auto* holder = new ObjectHolder(pos, p);
        if (MapMaster* map = Map()) {
            ObjectIgnoreList ignore;
            if (ObjectHolder* under = map->CheckMove(p, pos, &ignore, 0, 0))
                if (under != map->GetBlocker() && under->m_pObject)
                    under->m_pObject->StepOn(&pos, p);
            ObjectIgnoreList none;
            map->AddHolder(pos, holder, &none, 1);
        }
        *counter += 1;
    }
}

// ---- Other worlds

int Play::GoToWorld(const std::string& worldFile, int32_t x, int32_t y) {
    if (!m_World.m_pLeader) return 0;
    // The name comes from the world's own objects: only a world file of the
    // working folder is taken, and the world in play must have a file to go
    // back to.
    if (m_Saves.WorldFile().empty() || !qv::IsPlainFileName(worldFile) ||
        !qv::FileExists(m_Saves.InCurrentFolder(worldFile))) {
        qv::ShowMessage(qv::Format("The way to \"%s\" leads nowhere: it is not a world file of "
                                   "this game.",
                                   worldFile.c_str()),
                        qv::MessageButtons::Ok);
        return 0;
    }
    // The world to go to is read first, with the land files it names, as a
    // saved game is before it is loaded: a missing or bad one leaves the
    // party where it is, and the player is told why.
    const std::string target = m_Saves.InCurrentFolder(worldFile);
    try {
        try {
            m_Saves.CheckWorldRead(qv::ReadWholeFile(target), target, m_Saves.InCurrentFolder(""),
                                   true);
        } catch (const qv::ArchiveError& error) {
            throw savefile::AsFileError(error, target);
        }
    } catch (const qv::FileError& error) {
        qv::ShowMessage(qv::Format("The way to \"%s\" cannot be taken: %s. The party stays "
                                   "where it is.",
                                   worldFile.c_str(), error.what()),
                        qv::MessageButtons::Ok);
        return 0;
    }
    try {
        try {
            m_Saves.SaveWorldFile(m_Saves.WorldFile());
            m_Travel.SetLandMovePending(false);
            m_Travel.SetPlacingParty(true);
            m_Saves.LoadWorldFile(worldFile);
        } catch (const qv::ArchiveError& error) {
            throw savefile::AsFileError(error, m_Saves.InCurrentFolder(m_Saves.WorldFile()));
        }
    } catch (const qv::FileError& error) {
        m_Travel.SetPlacingParty(false);
        ReportFileException(error);
        return 0;
    }
    m_World.m_ptFocus = {qv::ClampToInt32(int64_t{x} * MapMaster::CellWidth + kArrivalOffset),
                         qv::ClampToInt32(int64_t{y} * MapMaster::CellHeight + kArrivalOffset)};
    MoveToLand();
    return 1;
}

// ---- The editor's worlds and lands

int Play::AddLand(std::unique_ptr<Land> land, const std::string& fileName) {
    if (!land || !Map()) return 0;
    // A land beyond the world's edges could never be streamed: refused
    // before its file is written.
    if (Map()->worldcellx > 0 &&
        !Land::InsideWorld(land->bounds, Map()->worldcellx, Map()->worldcelly)) {
        qv::ShowMessage(qv::Format("The land (%d, %d) - (%d, %d) lies outside the world of %d x "
                                   "%d cells.",
                                   land->bounds.left, land->bounds.top, land->bounds.right,
                                   land->bounds.bottom, Map()->worldcellx, Map()->worldcelly),
                        qv::MessageButtons::Ok);
        return 0;
    }
    // Nor would a land whose picture lies outside the "Images\" folder be
    // read again.
    if (!Land::IsPictureName(land->bitmapname)) {
        qv::ShowMessage(qv::Format("The land's picture \"%s\" lies outside the Images folder.",
                                   land->bitmapname.c_str()),
                        qv::MessageButtons::Ok);
        return 0;
    }
    try {
        if (!qv::IsPlainFileName(fileName))
            throw qv::FileError(qv::FileError::Other, fileName, "not a plain file name");
        auto info = std::make_unique<LandInfo>(fileName, land.get());  // writes the land
        info->land = nullptr;
        land.reset();
        if (!Map()->landgraph) Map()->landgraph = new LandGraph;
        Map()->landgraph->Insert(std::move(info), Map(), 1);
    } catch (const qv::FileError& error) {
        ReportFileException(error);
        return 0;
    }
    MoveToLand();
    return 1;
}

int Play::AskLandFileName(std::string& name) {
    const FileDialogRequest ask{true, "lnd", name, kLandFilter};
    const std::optional<std::string> chosen = m_Editing.ChooseFile(ask);
    const std::string plain = chosen ? PlainName(*chosen) : std::string();
    if (plain.empty()) return 0;
    name = plain;
    return 1;
}

int Play::NewWorld() {
    // Both questions come before anything changes: a cancel leaves the world
    // as it was.
    NewWorldRequest world;
    if (!m_Editing.AskNewWorld(world)) return 2;
    std::string file = world.name;
    if (!AskLandFileName(file)) return 2;
    if (world.width < MapMaster::wide || world.height < MapMaster::high ||
        !MapMaster::FitsLargestWorld(world.width, world.height)) {
        qv::ShowMessage(qv::Format("A world of %d x %d cells cannot be made: it takes at least "
                                   "%d x %d, and at most %lld cells.",
                                   world.width, world.height, MapMaster::wide, MapMaster::high,
                                   static_cast<long long>(MapMaster::kMaxWorldCells)),
                        qv::MessageButtons::Ok);
        return 2;
    }

    const Position start(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0);
    if (!Map())
        m_World.map_master = std::make_unique<MapMaster>(&start);
    else
        Map()->DeleteContents();
    m_Saves.SetSaveFolder(savefile::GetSaveFolder(savefile::kOriginalSlot));
    const std::string original = m_Saves.GameFolderPath(m_Saves.SaveFolder());
    const std::string work = m_Saves.GameFolderPath(m_Saves.WorkFolder());

    auto land = std::make_unique<Land>("Land");
    land->terraincode = kNewLandCode;
    land->SetName(world.name);
    land->bounds = {0, 0, world.width, world.height};
    Map()->SetWorldSize(world.width, world.height);
    Map()->RecentreWindow();
    m_World.m_ptFocus = {0, 0};
    // The start world's files come into the working folder first, so that
    // the new land's file written there is the one kept.
    try {
        qv::MakeFolder(work);
        if (qv::FolderExists(original)) m_Saves.CopyFolder(original, work);
    } catch (const qv::FileError& error) {
        ReportFileException(error);
        return 2;
    }
    m_Saves.SetCurrentFolder(work);
    AddLand(std::move(land), file);
    return 1;
}

int Play::OnSaveGame() {
    // The editor's worlds are kept in the start world's folder: the name is
    // asked there, and the world goes there as the start world.
    const std::string work = m_Saves.GameFolderPath(m_Saves.WorkFolder());
    m_Saves.SetCurrentFolder(
        m_Saves.GameFolderPath(savefile::GetSaveFolder(savefile::kOriginalSlot)));
    const FileDialogRequest ask{true, "qvr", m_Saves.WorldFile(), kWorldFilter};
    const std::optional<std::string> chosen = m_Editing.ChooseFile(ask);
    const std::string world = chosen ? PlainName(*chosen) : std::string();
    m_Saves.SetCurrentFolder(work);
    if (world.empty()) {
        qv::ShowMessage("Save Cancelled", qv::MessageButtons::Ok);
        return 2;
    }
    // A save that is not made leaves the world's name as it was.
    const std::string before = m_Saves.WorldFile();
    m_Saves.SetWorldFile(world);
    const int saved = m_Saves.SaveSlot(savefile::kOriginalSlot);
    if (!saved) m_Saves.SetWorldFile(before);
    // Writing the world gave the window's holders back to their lands.
    m_Saves.TryReloadWindowAtFocus();
    return saved;
}

int Play::OnLoadWorld() {
    // Asked first: a cancel leaves the working folder and the world in play
    // as they were.
    std::string world = m_Saves.WorldFile();
    if (!m_Saves.ReloadsWithoutAsking()) {
        const FileDialogRequest ask{false, "qvr", m_Saves.WorldFile(), kWorldFilter};
        const std::optional<std::string> chosen = m_Editing.ChooseFile(ask);
        world = chosen ? PlainName(*chosen) : std::string();
        if (world.empty()) {
            qv::ShowMessage("Load Cancelled", qv::MessageButtons::Ok);
            return 2;
        }
    }
    Shell().ShowBusy(true);
    m_Saves.SetSaveFolder(savefile::GetSaveFolder(savefile::kOriginalSlot));
    const std::string original = m_Saves.GameFolderPath(m_Saves.SaveFolder());
    const std::string work = m_Saves.GameFolderPath(m_Saves.WorkFolder());
    try {
        if (!qv::IsPlainFileName(world) || !qv::FileExists(original + world))
            throw qv::FileError(qv::FileError::NotFound, original + world);
        qv::MakeFolder(work);
        m_Saves.CopyFolder(original, work);
        m_Saves.SetCurrentFolder(work);
        try {
            m_Saves.LoadWorldFile(world);
        } catch (const qv::ArchiveError& error) {
            throw savefile::AsFileError(error, work + world);
        }
    } catch (const qv::FileError& error) {
        m_Saves.SetCurrentFolder(work);
        ReportFileException(error);
        return 2;
    }
    m_Saves.SetCurrentFolder(work);
    MoveToLand();
    Shell().ShowBusy(false);
    return 1;
}

// ---- The orders that move the view and the party

int Play::GiveView(const Order& order, Player*) {
    if (!order.hasPoint) return 0;
    Position focus = order.point;
    if (Map()) Map()->WrapPosition(focus);
    m_World.m_ptFocus = {focus.x, focus.y};
    if (Map() && Map()->CheckFocusEdge(focus) == Group::kWorldChanged) MoveToLand();
    return 1;
}

int Play::GiveTravel(const Order& order, Player*) {
    if (!order.hasPoint) return 0;
    TravelTo({order.point.x, order.point.y});
    return 1;
}
