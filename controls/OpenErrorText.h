// What a link says when its address could not be opened: one text for each
// result code of platform/OpenResult.h.
#pragma once

#include <string>

// The text for a failure code; codes without a text of their own give
// "Unknown Error (<code>) occurred.".
std::string OpenErrorText(int code);

// The whole message: "Unable to open hyperlink:" and a blank line before the
// text for the code.
std::string OpenErrorMessage(int code);
