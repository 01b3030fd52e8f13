// What a link says when its address could not be opened: one text for each
// result code of platform/OpenResult.h.
#pragma once

#include <string>

#include "platform/OpenResult.h"

// The text for a failure; codes without a text of their own, and errors of
// other libraries, give "Unknown Error (<code>) occurred.".
std::string OpenErrorText(const platform::OpenResult& result);

// The whole message: "Unable to open hyperlink:" and a blank line before the
// text for the failure.
std::string OpenErrorMessage(const platform::OpenResult& result);
