#pragma once
// Free accessors to the current world and to the main frame that shows it, and
// the program's one assertion handler, fatal message and file-error report.
//
// The world and the frame are reached through plain global pointers: null
// before they exist and cleared as soon as their destruction begins, so every
// accessor answers null or 0 at start-up and shut-down. World code reads the
// world through GetWorld(); build mode and the game folder come from the rules
// of the world's play (World::m_pRules), and the answers that come from the
// frame itself (the message line) are defined by the frame
// (shell/).

#include <string>
#include <vector>

namespace qv {
class FileError;
}
class CMainFrame;
class Group;
class MapMaster;
class Player;
class World;

World* GetWorld();
CMainFrame* GetMainFrame();
MapMaster* GetMapMaster();
int IsEditMode();
// Invisible creatures are shown (the world's debug view).
int IsDebugView();
// Turns that showing on or off (the Mind Sense spell); nothing without a world.
void SetDebugView(int on);
// The world's creatures indexed by actor number.
std::vector<Player*>* GetPlayerArray();
// The creature whose member id is `id` in the group tree under `group`;
// built with the groups.
Player* FindMemberById(Group* group, int id);
// An actor number: 0 or more indexes the player array, a negative number is a
// member id of the random encounters; built with the groups.
Player* ResolveActor(int actor);
int GetDrawEnabled();
int SetMessageLine(const std::string& text);
std::string GetBaseDirectory();

// Reports a failed check: "assertion failed (line:file)\nexpression" with the
// file cut to its own name. Returns when the user answers Retry; Cancel ends the
// program with code 1.
void AssertFailed(int line, const char* file, const char* expression);
// Shows a formatted message with Retry and Cancel; Retry returns, anything else
// (and a null format) ends the program with code 1.
void FatalMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
// What a file error says: "%s not found." for a missing file, otherwise the
// file's name with what is wrong with it.
std::string FileErrorText(const qv::FileError& error);
// Shows a file error (its FileErrorText) and ends the program with code 2:
// through the frame when there is one, at once otherwise.
void ReportFileException(const qv::FileError& error);

// A check that must hold. Answers true when it holds; when it fails it is
// reported and, if the user lets the program go on, answers false so that the
// caller can return instead of using what failed:
//     if (!QV_CHECK(group != nullptr)) return 0;
#define QV_CHECK(expr) ((expr) ? true : (::AssertFailed(__LINE__, __FILE__, #expr), false))
// The same with the text the user is shown given apart from the expression.
#define QV_CHECK_TEXT(expr, text) \
    ((expr) ? true : (::AssertFailed(__LINE__, __FILE__, text), false))
