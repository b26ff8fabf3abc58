#pragma once
// The clock's hour (0 to 23) and minute (0 to 55). The opener copies them from
// the clock and back on OK.

#include <cstdint>
#include <string>

#include "editor/EditorDialog.h"
#include "play/Play.h"

class CTimeOfDayDlg : public CEditorDialog {
public:
    static constexpr int32_t kLastHour = Play::kLastHour;
    static constexpr int32_t kLastMinute = Play::kLastSetMinute;
    CTimeOfDayDlg(int32_t hour, int32_t minute, CDDWnd* parent = nullptr);

    void BuildWidgets() override;
    bool OnOK() override;

    std::string m_strHour, m_strMinute;
    int32_t m_iHour, m_iMinute;  // as OK took them
};
