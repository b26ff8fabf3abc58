#pragma once
// The about box: the game's name and version, and OK.

#include <memory>

#include "media/DDWnd.h"

class CAboutDlg : public CDDWnd {
public:
    enum : int { kIdOk = 1 };
    static constexpr const char* kCaption = "About Quorvale";
    static constexpr const char* kVersion = "Quorvale Alpha 41";

    explicit CAboutDlg(CDDWnd* parent = nullptr);
    ~CAboutDlg() override;
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;
    void Paint(qv::Surface* surface) override;
    CDDButton* GetOkButton() const { return m_pOk.get(); }

private:
    std::unique_ptr<CDDButton> m_pOk;
};
