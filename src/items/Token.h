#pragma once
// A token is carried and given to a token taker, a lever that switches when a
// token is put into it.

#include "structures/Fixtures.h"
#include "world/Object.h"
#include "world/StoredClass.h"

class Token : public Object {
    QV_STORED_CLASS(Token)
    ~Token() override;
    int Type() override { return TOKEN; }
    int CanInteract() override { return 1; }
    std::pair<int, int> GetUseRange(Player*) override { return {0, 0}; }
    int IsValidTarget(Object* target) override { return target && target->Type() == TOKENTAKER; }
    int GetWeight() override { return m_iWeight * m_iBulkNum; }
    // Picked for use: the next click picks the taker it is given to, the
    // cursor carrying the token's cursor picture meanwhile. Answers 2.
    int GetUsePrompt(Player* user, int flag) override;
    // Given to a token taker: the taker switches and one token leaves the
    // user's bag. 1 when it was the user's last (the caller lets it go), 0
    // otherwise and for any other target.
    int Use(Player* user, Object* target) override;

private:
    // The class's cursor picture, a use of it held by each token.
    CDDObject* m_pCursorLook = nullptr;
};

class TokenTaker : public Lever {
    QV_STORED_CLASS(TokenTaker)
    int Type() override { return TOKENTAKER; }
    // Code 4, a token given: the lever switches.
    int Activate(int* action, Player* actor) override;
    void SetImageFrame(int*, int*) override {}
};
