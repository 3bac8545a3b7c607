#include "ConverterMessages.h"

namespace Orvane { namespace Quillshift {

const char* const kMsgUsage = "converter.exe old_syntax_string";
const char* const kMsgAccessDenied = "Access Denied";
const char* const kMsgCannotOpen = "Can't open file";
const char* const kMsgCannotRead = "Can't read file";
const char* const kMsgTooLarge = "File too large";
const char* const kMsgSameFile = "Input and output are the same file";
const char* const kMsgCannotWrite = "Can't write file";
const char* const kMsgNoMemory = "Not enough memory";
const char* const kMsgFailed = "Conversion failed";

}}
