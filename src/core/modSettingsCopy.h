#pragma once

class QWidget;

// Copies between a settings dialog's controls, found by their names, and the settings
// record that `kind` (the value of glngSetteiMode) chooses. A "get" routine builds a
// whole new record from the controls; when a numeric box holds no valid number it shows
// a message naming the field, puts the focus on that box and returns false with nothing
// stored. None of them saves: the dialog calls setRegistryAll afterwards.

// Screening conditions (frmBrandSelect).
bool getSelectCondition(QWidget *window, int kind);
void setSelectCondition(QWidget *window, int kind);

// Base settings (frmConfBase).
bool getBaseSetting(QWidget *window, int kind);
void setBaseSetting(QWidget *window, int kind);

// The ten indicator periods SMAS ... RCIM (frmCalc); VRS keeps its value.
bool getCalcParam(QWidget *window);
void setCalcParam(QWidget *window);

// Order conditions (frmOrder). Only the two automatic-close groups are loaded into the
// window; the other order controls keep the values they were created with.
bool getOrderSetting(QWidget *window, int kind);
void setOrderAutoType(QWidget *window, int kind);
