#include "editor/TimeOfDayDlg.h"

#include <imgui.h>

#include "platform/Format.h"

CTimeOfDayDlg::CTimeOfDayDlg(int32_t hour, int32_t minute, CDDWnd* parent)
    : CEditorDialog("Time Of Day", {240, 120}, parent),
      m_strHour(std::to_string(hour)),
      m_strMinute(std::to_string(minute)),
      m_iHour(hour),
      m_iMinute(minute) {}

void CTimeOfDayDlg::BuildWidgets() {
    ImGui::PushItemWidth(80);
    TextField("Hour:", m_strHour);
    TextField("Minute (15):", m_strMinute);
    ImGui::PopItemWidth();
    OkCancelButtons();
}

bool CTimeOfDayDlg::OnOK() {
    int64_t hour = 0, minute = 0;
    if (!ReadNumber(m_strHour, 0, kLastHour, hour)) {
        Refuse(qv::Format("The hour must be a number from 0 to %d.", kLastHour));
        return false;
    }
    if (!ReadNumber(m_strMinute, 0, kLastMinute, minute)) {
        Refuse(qv::Format("The minute must be a number from 0 to %d.", kLastMinute));
        return false;
    }
    m_iHour = static_cast<int32_t>(hour);
    m_iMinute = static_cast<int32_t>(minute);
    return true;
}
