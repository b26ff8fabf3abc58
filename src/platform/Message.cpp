#include "platform/Message.h"

#include <cstdio>

namespace qv {

namespace {
MessageHandler g_handler;
ScriptedMessages* g_script = nullptr;
}  // namespace

MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) {
    if (g_handler) return g_handler(text, buttons);
    std::fprintf(stderr, "%s\n", text.c_str());
    if (buttons == MessageButtons::Ok) {
        if (g_script) g_script->shown.push_back(text);
        return MessageAnswer::Ok;
    }
    if (!g_script) return MessageAnswer::Cancel;
    g_script->shown.push_back(text);
    if (g_script->answers.empty()) return MessageAnswer::Cancel;
    MessageAnswer a = g_script->answers.front();
    g_script->answers.pop_front();
    return a;
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
