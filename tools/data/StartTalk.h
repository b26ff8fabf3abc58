#pragma once
// The talk of the start world: the script of the yard's people and the
// party's dog, which the data program writes into the game folder, the
// nodes each speaker starts at, the script variables it sets and the store
// the shop keeper opens.

#include <cstdint>
#include <string>

namespace start_talk {

// The script file, under the name every creature has unless told otherwise.
inline constexpr const char* kScriptFile = "lauriston.smb";
inline constexpr const char* kDogNode = "DOGHELLO";
inline constexpr const char* kMillerNode = "MILLER";
inline constexpr const char* kWeaverNode = "WEAVER";
inline constexpr const char* kShopKeeperNode = "SHOPKEEPER";
// The miller's task: 0 not asked, 1 taken.
inline constexpr const char* kTaskVariable = "Wolves";
// The weaver walks with the party: 1 once she has joined.
inline constexpr const char* kJoinedVariable = "WeaverJoined";
// The shop keeper's store.
inline constexpr int32_t kStoreId = 1;

// The script's text, as the game reads it.
std::string Script();

// What the start world's signs, books and letters say: the nodes of the game
// folder's book script (structures/Furnishings.h's kBookScript) that they
// name by their general name.
inline constexpr const char* kYardSignNode = "YARD_SIGN";
inline constexpr const char* kLetterNode = "MILLER_LETTER";
// The book script's text.
std::string BookScript();

}  // namespace start_talk
