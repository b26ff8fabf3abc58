#pragma once
// The program's message boxes: the Retry/Cancel box of a failed check and the
// plain OK box of a file error. The game shows them in its window through a
// handler it installs; without one (tests, headless runs) the text goes to
// stderr and the answer comes from a script, Cancel when none is scripted.

#include <deque>
#include <functional>
#include <string>

namespace qv {

enum class MessageButtons { Ok, RetryCancel, YesNo };
enum class MessageAnswer { Ok, Retry, Cancel, Yes, No };

using MessageHandler = std::function<MessageAnswer(const std::string& text, MessageButtons,
                                                   const std::string& caption)>;

// Shows `text` (in a box titled `caption`, a plain box when it is empty) and
// answers the button chosen.
MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons,
                          const std::string& caption = "");
// The headless way of showing a box, used when no handler is installed (and
// by a handler that cannot show the box itself).
MessageAnswer ShowMessageHeadless(const std::string& text, MessageButtons buttons,
                                  const std::string& caption = "");
// Installs the handler that shows boxes (null restores the headless one).
void SetMessageHandler(MessageHandler handler);
// Whether a handler is installed (boxes are shown in a window).
bool HasMessageHandler();

// Headless answers, taken in order by RetryCancel and YesNo boxes while this
// lives (in place of any handler) (with none left, Cancel or No); the texts shown are kept for
// inspection.
class ScriptedMessages {
public:
    explicit ScriptedMessages(std::deque<MessageAnswer> answers = {});
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    std::deque<MessageAnswer> answers;
    std::deque<std::string> shown;
    std::deque<std::string> captions;  // one for each text shown

private:
    ScriptedMessages* m_previous;
};

}  // namespace qv
