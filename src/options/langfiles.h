// The language files of the program's "lang" folder, as the options window and the language-file
// editor pick them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "forms/dialogs.h"

// The "lang" folder of the program folder.
std::string LangFolder();

// A language file's name: something, then ".ini" in any case.
bool IsIniName(const std::string& name);

// Shows the open dialog on the "lang" folder, listing "*.ini". The path chosen, trimmed; std::nullopt
// when the user cancelled; "" when the file is no ".ini" file, which the user has been told.
std::optional<std::string> ChooseLanguageFile(forms::CommonDialog& dialog, HWND owner);
