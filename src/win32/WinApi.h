#pragma once

// The Windows headers for the backend's sources, included first and alone.
//
// windows.h names functions by macro (DrawText is DrawTextW under UNICODE)
// and its DT_* flags by macro too, while the platform seams have a
// Canvas::DrawText, a Ui::ChooseFont and an enumeration of the same DT_*
// names. Left defined, those macros would rename the seams' members in this
// file alone, or break the enumeration, so they go here, before any of the
// core's headers is read; the backend calls the wide functions by their own
// names (DrawTextW, TextOutW, ChooseFontW, ...). The DT_* values are the
// platform's, so the core's flags pass through unchanged.
#include <windows.h>

#include <commdlg.h>
#include <winspool.h>

#undef DrawText
#undef TextOut
#undef ChooseFont

#undef DT_LEFT
#undef DT_TOP
#undef DT_CENTER
#undef DT_RIGHT
#undef DT_VCENTER
#undef DT_BOTTOM
#undef DT_WORDBREAK
#undef DT_SINGLELINE
#undef DT_NOCLIP
#undef DT_CALCRECT
#undef DT_NOPREFIX
