#include "platform/Message.h"

#include <cstdio>

namespace qv {

namespace {
MessageHandler g_handler;
ScriptedMessages* g_script = nullptr;
}  // namespace

MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons,
                          const std::string& caption) {
    // A script answers in place of the handler: a test never waits for a
    // click on a box in the game's window.
    if (g_handler && !g_script) return g_handler(text, buttons, caption);
    return ShowMessageHeadless(text, buttons, caption);
}

MessageAnswer ShowMessageHeadless(const std::string& text, MessageButtons buttons,
                                  const std::string& caption) {
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    if (g_script) {
        g_script->shown.push_back(text);
        g_script->captions.push_back(caption);
    }
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    MessageAnswer none =
        buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
    if (!g_script || g_script->answers.empty()) return none;
    MessageAnswer a = g_script->answers.front();
    g_script->answers.pop_front();
    return a;
}

bool HasMessageHandler() {
    return static_cast<bool>(g_handler);
}

void SetMessageHandler(MessageHandler handler) {
    g_handler = std::move(handler);
}

ScriptedMessages::ScriptedMessages(std::deque<MessageAnswer> a)
    : answers(std::move(a)), m_previous(g_script) {
    g_script = this;
}

ScriptedMessages::~ScriptedMessages() {
    g_script = m_previous;
}

}  // namespace qv
