// Text from the command line or the data files, made safe to echo in a
// message: a name holding terminal control sequences must not drive the
// terminal that shows the message.
#pragma once

#include <string>
#include <string_view>

// `text` with every control character written out: escape as "\e", line feed
// as "\n", tab as "\t", carriage return as "\r", any other C0 or C1 control
// character and DEL as "\xNN" (a C1 character's two UTF-8 bytes each so; a
// byte 0x80 to 0x9F that belongs to no UTF-8 character counts as one).
std::string EscapedText(std::string_view text);
