// Tokens and the levers that take them.

#include "items/Token.h"

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/TargetChoice.h"
#include "structures/Looks.h"

QV_IMPLEMENT_STORED(Token, Object, 1)
QV_IMPLEMENT_STORED(TokenTaker, Lever, 1)

namespace {
constexpr int kTokenGiven = 4;
constexpr int kSwitchLever = 2;
// The class pictures: a token, and the post that takes one.
constexpr int kTokenBitmap = 1102;
constexpr int kTokenTakerBitmap = 1103;
// What the cursor carries while a token waits for its taker.
constexpr ClassLook kTokenCursorLook{1101, 36, 33, 0, 0, 1, 1};
}  // namespace

Token::Token(const std::string& name) : Object(name) {
    m_bStackable = 1;
    WearLook(*this, {kTokenBitmap, 10, 10, 5, 5, 1, 1});
    m_pCursorLook = UseLook(kTokenCursorLook);
}

Token::~Token() {
    ReturnLook(m_pCursorLook);
}

int Token::GetUsePrompt(Player* user, int) {
    return BeginTargetChoice(*this, user, UseSelect::kToken, UseSelect::kKeepPause,
                             "Use Token on...", m_pCursorLook);
}

int Token::Use(Player* user, Object* target) {
    if (!user || !target || target->Type() != TOKENTAKER) return 0;
    // The count is read before the token is spent: the last one goes.
    const bool last = m_iBulkNum < 2;
    int code = kTokenGiven;
    target->Activate(&code, user);
    // One of a stack leaves the user's bag here; the last one the caller
    // takes out and lets go.
    if (!last) {
        if (user->m_pBag && user->m_pBag->Contains(this))
            user->RemoveFromBag(this, 1);
        else
            --m_iBulkNum;
    }
    return last ? 1 : 0;
}

TokenTaker::TokenTaker(const std::string& name) : Lever(name) {
    WearLook(*this, {kTokenTakerBitmap, 16, 48, 7, 44, 1, 1});
}

int TokenTaker::Activate(int* action, Player* actor) {
    if (!action || *action != kTokenGiven) return 0;
    int code = kSwitchLever;
    return Lever::Activate(&code, actor);
}
