// The resource ids of the control dialog, its pages and their controls, as the host's resource
// files know them. Each dialog class takes its ids from its struct here.
#pragma once

#include "ui/Types.h"

struct ControlDialogIds {
    static constexpr ui::UINT IDD = 16311;
    static constexpr int IDC_TAB = 16313;
};

struct SettingsPageIds {
    static constexpr ui::UINT IDD = 16312;
    static constexpr int IDC_VALUES = 16315;
    static constexpr int IDC_FEATURES = 16316;
};

struct AdjustmentPageIds {
    static constexpr ui::UINT IDD = 16314;
    static constexpr int IDC_LIST = 16300;
    static constexpr int IDC_SLIDER = 16301;
    static constexpr int IDC_SMALL_DECREASE = 16302;
    static constexpr int IDC_LARGE_DECREASE = 16303;
    static constexpr int IDC_SMALL_INCREASE = 16304;
    static constexpr int IDC_LARGE_INCREASE = 16305;
    static constexpr int IDC_AUTOMATIC = 16306;
    static constexpr int IDC_ONE_SHOT = 16307;
    static constexpr int IDC_MIN_LABEL = 16308;
    static constexpr int IDC_MAX_LABEL = 16309;
    static constexpr int IDC_EDIT = 16310;
};

struct ImagePageIds {
    static constexpr ui::UINT IDD = 16317;
    static constexpr int IDC_COMMAND_LIST = 16318;
    static constexpr int IDC_WIDTH_EDIT = 16321;
    static constexpr int IDC_HEIGHT_EDIT = 16322;
    static constexpr int IDC_OFFSET_X_EDIT = 16323;
    static constexpr int IDC_OFFSET_Y_EDIT = 16324;
    static constexpr int IDC_WIDTH_SPIN = 16326;
    static constexpr int IDC_HEIGHT_SPIN = 16327;
    static constexpr int IDC_OFFSET_X_SPIN = 16328;
    static constexpr int IDC_OFFSET_Y_SPIN = 16329;
    static constexpr int IDC_APPLY = 16331;
    static constexpr int IDC_DECIMATION_LIST = 16335;
    static constexpr int IDC_WIDTH_LABEL = 16337;
    static constexpr int IDC_HEIGHT_LABEL = 16338;
    static constexpr int IDC_DECIMATION_LABEL = 16339;
    static constexpr int IDC_COMMAND_LABEL = 16340;
};

struct ExposurePageIds {
    static constexpr ui::UINT IDD = 16319;
    static constexpr int IDC_EXPOSURE_SLIDER = 16328;
    static constexpr int IDC_EXPOSURE_EDIT = 16329;
    static constexpr int IDC_CONSTANT_FRAME_RATE = 16330;
    static constexpr int IDC_FRAME_TIME_SLIDER = 16331;
    static constexpr int IDC_FRAME_TIME_EDIT = 16332;
    static constexpr int IDC_EXPOSURE_MIN = 16333;
    static constexpr int IDC_EXPOSURE_MAX = 16334;
    static constexpr int IDC_FRAME_TIME_MIN = 16335;
    static constexpr int IDC_FRAME_TIME_MAX = 16336;
    static constexpr int IDC_SIMULTANEOUS_READOUT = 16337;
};
