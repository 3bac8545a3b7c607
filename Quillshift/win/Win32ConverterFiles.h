#pragma once
// The converter's files on Win32.
#include "ConverterRun.h"

namespace Orvane { namespace Quillshift {

class Win32ConverterFiles final : public IConverterFiles {
public:
    ReadResult ReadInput(const std::wstring& input, const std::wstring& output, std::string& text) override;
    bool ReplaceOutput(const std::wstring& output, const std::string& text) override;
};

}}
