// The plug-in's private window messages, which the pages post to themselves.
//
// Each source file that includes this header registers the six names into its own copies
// during static initialisation; the platform answers the same number for the same name for
// the life of the process, so every copy agrees and a page may compare against its own.
#pragma once

#include "ui/Window.h"

static const ui::UINT REPEAT_BUTTON_TRIGGER =
    ui::RegisterWindowMessage(L"AMBREL_CONTROL_REPEAT_BUTTON_TRIGGER");
static const ui::UINT REFRESH_SLIDER =
    ui::RegisterWindowMessage(L"AMBREL_CONTROL_ADJUSTMENT_PROP_REFRESH_SLIDER");
static const ui::UINT REFRESH_EDIT =
    ui::RegisterWindowMessage(L"AMBREL_CONTROL_ADJUSTMENT_PROP_REFRESH_EDIT");
static const ui::UINT REFRESH_LIST =
    ui::RegisterWindowMessage(L"AMBREL_CONTROL_ADJUSTMENT_PROP_REFRESH_LIST");
static const ui::UINT REFRESH_AUTOBUTTON =
    ui::RegisterWindowMessage(L"AMBREL_CONTROL_ADJUSTMENT_PROP_REFRESH_AUTOBUTTON");
static const ui::UINT ONESHOT_MSG =
    ui::RegisterWindowMessage(L"AMBREL_CONTROL_ADJUSTMENT_PROP_ONESHOT_MSG");
