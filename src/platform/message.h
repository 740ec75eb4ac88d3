#pragma once

#include <functional>

// The one way the presentation tells a person about a failure (a message box
// on Windows). A box is shown only where somebody can answer it: interactive
// play on a display. Everywhere else (no display, tests, capture, frame shots)
// the message goes to standard error as "caption: text" and the call returns.
void ShowMessage(const char *text, const char *caption);

// Interactive play turns boxes on; everything else leaves them off.
void SetMessageBoxesAllowed(bool allowed);

// Tests watch the messages through this hook; while one is set, nothing is
// shown or written. Pass an empty function to remove it.
using MessageHook = std::function<void(const char *text, const char *caption)>;
void SetMessageHook(MessageHook hook);
