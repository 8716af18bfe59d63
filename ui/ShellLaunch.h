// This file implements the opening of addresses taken from data (a hyperlink cell, a label's
// address): only web (http, https) and mail (mailto) addresses are handed to the shell, so that a
// value stored in the database can never start a program or open a file; and the unchecked
// opening of targets the program itself names (a form's hyperlink label), files included.
#pragma once

#include "WinApi.h"

#include "AnsiString.h"

// True for "http://host...", "https://host..." and "mailto:someone..." (scheme without case),
// with no blank or control character anywhere.
bool IsDataAddressAllowed(const String& Address);

// Opens an allowed address with the shell's "open" verb; false for a refused address or when the
// shell fails.
bool OpenDataAddress(const String& Address, HWND Owner = nullptr);

// Opens Target with the shell's "open" verb, whatever it names (a web address, a file, a program):
// only for targets set by the program's own forms, never for text read from data. False for an
// empty target or when the shell fails.
bool OpenShellTarget(const String& Target, HWND Owner = nullptr);

// What OpenDataAddress and OpenShellTarget hand a target to (ShellExecuteA by default); tests put a
// recorder in its place. Returns the previous one.
using TShellOpenProc = bool (*)(HWND Owner, const String& Address);
TShellOpenProc SetShellOpenProc(TShellOpenProc Proc);
