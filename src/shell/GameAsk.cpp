#include "shell/GameAsk.h"

#include "media/DDWnd.h"

int GameAsk::Quantity(int amount) {
    CQuantityWnd window(&amount);
    return window.Popup() == 1 ? window.m_iAmount : 0;
}

bool GameAsk::YesNo(const std::string& question) {
    return ShowGameMessageBox(question, 4) == CMessageWnd::kIdYes;
}

void GameAsk::Tell(const std::string& text) {
    ShowGameMessage(text);
}
