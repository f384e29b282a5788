// A push button that keeps triggering its parent while held down, faster and faster.
#pragma once

#include <cstdint>

#include "ui/Controls.h"

class CRepeatButton : public ui::CButton {
public:
    static constexpr ui::UINT_PTR kTimerId = 1;
    static constexpr uint32_t kFirstDelay = 500;
    static constexpr uint32_t kSecondDelay = 100;

    // Stops repeating; the page does so whenever it disables the button at a bound.
    void StopRepeat();
    uint32_t GetInterval() const { return m_interval; }

protected:
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override;
    void OnTimer(ui::UINT_PTR id) override;
    void OnDestroy() override;

private:
    void Trigger(bool send);

    uint32_t m_interval = 0;  // milliseconds
};
