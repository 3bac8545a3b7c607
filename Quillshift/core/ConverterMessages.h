#pragma once
// The texts the converter prints on standard output, one per run at most.

namespace Orvane { namespace Quillshift {

extern const char* const kMsgUsage;
extern const char* const kMsgAccessDenied;
extern const char* const kMsgCannotOpen;
extern const char* const kMsgCannotRead;
extern const char* const kMsgTooLarge;
extern const char* const kMsgSameFile;
extern const char* const kMsgCannotWrite;
extern const char* const kMsgNoMemory;
extern const char* const kMsgFailed;

}}
