// The clipboard's text, read and cleared. Tests stand in for the clipboard through the handlers
// below, so no test depends on what another program put there.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace rt {

// The clipboard's text: what it holds as text ("" when it holds no text), cut at its first NUL.
// False, with text "", when the clipboard cannot be opened (another program holds it open).
bool ClipboardText(std::string& text);

// Empties the clipboard; false when it cannot be opened or emptied.
bool ClearClipboard();

// Tests answer the two calls themselves: `read` gives the text (std::nullopt: the clipboard
// cannot be opened), `clear` sees every emptying and gives its result. Null handlers give the
// real clipboard back.
void SetClipboardHandlers(std::function<std::optional<std::string>()> read, std::function<bool()> clear);

}  // namespace rt
