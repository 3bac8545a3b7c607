#include "ConverterRun.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "ConverterMessages.h"
#include "OldSyntaxConverter.h"

namespace Orvane { namespace Quillshift {

namespace {

const char* ReadFailureMessage(ReadResult result)
{
    switch (result) {
    case ReadResult::AccessDenied:
        return kMsgAccessDenied;
    case ReadResult::CannotOpen:
        return kMsgCannotOpen;
    case ReadResult::CannotRead:
        return kMsgCannotRead;
    case ReadResult::TooLarge:
        return kMsgTooLarge;
    case ReadResult::SameFile:
        return kMsgSameFile;
    case ReadResult::Read:
        break;
    }
    return "";
}

}

int RunConverter(const std::vector<std::wstring>& arguments, IConverterFiles& files, std::string& message)
{
    message.clear();
    if (arguments.size() < 2) {
        message = kMsgUsage;
        return kExitSuccess;
    }
    const std::wstring& input = arguments[0];
    const std::wstring& output = arguments[1];

    // The output is only touched once the whole input is read and converted, so a failure on the way
    // leaves the old output as it was.
    try {
        std::string text;
        const ReadResult read = files.ReadInput(input, output, text);
        if (read != ReadResult::Read) {
            message = ReadFailureMessage(read);
            return kExitFailure;
        }
        const std::string converted = ConvertText(std::move(text));
        if (!files.ReplaceOutput(output, converted)) {
            message = kMsgCannotWrite;
            return kExitFailure;
        }
    } catch (const std::bad_alloc&) {
        message = kMsgNoMemory;
        return kExitFailure;
    } catch (const std::length_error&) {
        message = kMsgNoMemory;
        return kExitFailure;
    } catch (...) {
        message = kMsgFailed;
        return kExitFailure;
    }
    return kExitSuccess;
}

}}
