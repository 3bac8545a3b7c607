#pragma once
// Registers the tests' extension the way an extension registers itself: its class, its MMC
// snap-in key with "Provider", and a value under the PropertySheet key of each node type.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace OrvanedockTest {

// The IIS manager's node-type keys by site node type, as registry text.
const wchar_t* NodeTypeText(int nodeType);

class ExtensionRegistration {
public:
    // mmcRoot: the key that holds "SOFTWARE\Microsoft\MMC" (HKEY_LOCAL_MACHINE for the program).
    ExtensionRegistration(HKEY mmcRoot, const CLSID& clsid, const std::wstring& dll, const wchar_t* provider,
                          std::initializer_list<int> nodeTypes);
    ~ExtensionRegistration();
    ExtensionRegistration(const ExtensionRegistration&) = delete;
    ExtensionRegistration& operator=(const ExtensionRegistration&) = delete;
    bool Succeeded() const noexcept { return succeeded_; }

private:
    HKEY mmcRoot_;
    std::wstring classText_;
    std::vector<int> nodeTypes_;
    bool succeeded_ = true;
};

// The tests' extension DLL beside the test program.
std::wstring TestExtensionPath();

}
