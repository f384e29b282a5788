// The plug-in's dialog templates, the one source every window system builds its dialogs from.
#pragma once

#include "ui/Template.h"

// Registers the control dialog's and the four pages' templates; later calls do nothing.
void RegisterAmbrelDialogTemplates();

// Each page's template, built by the page's own source.
ui::DialogTemplate ControlDialogTemplate();
ui::DialogTemplate SettingsPageTemplate();
ui::DialogTemplate AdjustmentPageTemplate();
ui::DialogTemplate ImagePageTemplate();
ui::DialogTemplate ExposurePageTemplate();
