// This file implements the opening of addresses taken from data (a hyperlink cell, a label's
// address): only web (http, https) and mail (mailto) addresses are handed to the shell, so that a
// value stored in the database can never start a program or open a file.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef RegisterClass

#include "AnsiString.h"

// True for "http://host...", "https://host..." and "mailto:someone..." (scheme without case),
// with no blank or control character anywhere.
bool IsDataAddressAllowed(const String& Address);

// Opens an allowed address with the shell's "open" verb; false for a refused address or when the
// shell fails.
bool OpenDataAddress(const String& Address, HWND Owner = nullptr);

// What OpenDataAddress hands an allowed address to (ShellExecuteA by default); tests put a
// recorder in its place. Returns the previous one.
using TShellOpenProc = bool (*)(HWND Owner, const String& Address);
TShellOpenProc SetShellOpenProc(TShellOpenProc Proc);
