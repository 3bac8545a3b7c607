// Self-registration of the real Quillpage.dll in the test prefix: regsvr32 writes, `reg query`
// reads back every key and value, unregistration keeps what other extensions registered, and a
// key that cannot be written or removed is reported as a failure.
#include <Framework/GuidText.h>
#include <Framework/Handles.h>
#include <Framework/Registry.h>
#include <TestSupport/ProcessOutput.h>
#include <TestSupport/RegistryLock.h>
#include <TestSupport/WindowDriver.h>

#include <gtest/gtest.h>

#include <olectl.h>

#include <string>
#include <vector>

namespace {

const std::wstring kExtension = L"{8BC324A4-8A49-4E7A-B2BF-6ED3E5630C2F}";
const std::wstring kAbout = L"{EFA41C35-F062-46F7-B1A6-2AFA253900B3}";
const std::wstring kOtherExtension = L"{0D3E1A52-6B1C-4F0E-9A7D-5C2B8E41F907}";
const std::wstring kExtensionClass = L"CLSID\\" + kExtension;
const std::wstring kAboutClass = L"CLSID\\" + kAbout;
const std::wstring kSnapin = L"SOFTWARE\\Microsoft\\MMC\\SnapIns\\" + kExtension;
const std::wstring kNodeType = L"SOFTWARE\\Microsoft\\MMC\\NodeTypes\\{A841B6C5-7577-11D0-BB1F-00A0C922E79C}";
const std::wstring kPropertySheet = kNodeType + L"\\Extensions\\PropertySheet";

std::wstring RootName(HKEY root)
{
    return root == HKEY_CLASSES_ROOT ? L"HKEY_CLASSES_ROOT" : L"HKEY_LOCAL_MACHINE";
}

std::string Narrow(const std::wstring& text)
{
    return TestSupport::Narrow(text);
}

// One value as `reg query` shows it.
struct QueriedValue {
    DWORD exitCode = 0;
    std::string type;
    std::string data;
};

class RegistrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dll_ = TestSupport::BuildFolder() + L"\\bin\\Quillpage.dll";
        ASSERT_NE(::GetFileAttributesW(dll_.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(dll_);
        Clean();
    }
    void TearDown() override
    {
        for (const Locked& locked : locked_)
            TestSupport::LockRegistryKey(locked.root, locked.path, false);
        Clean();
    }

    // Removes every trace of a registration (and of the tests' other extension) with the registry API.
    static void Clean()
    {
        for (const std::wstring& key : {kExtensionClass, kAboutClass})
            ASSERT_EQ(Framework::DeleteKeyTree(HKEY_CLASSES_ROOT, key), ERROR_SUCCESS);
        ASSERT_EQ(Framework::DeleteKeyTree(HKEY_LOCAL_MACHINE, kSnapin), ERROR_SUCCESS);
        // Other extensions of the node type (another test's, say) keep their values.
        for (const std::wstring& value : {kExtension, kOtherExtension})
            ASSERT_EQ(Framework::DeleteValueIfPresent(HKEY_LOCAL_MACHINE, kPropertySheet, value.c_str()), ERROR_SUCCESS);
        ASSERT_EQ(Framework::DeleteKeyTreeIfNoValues(HKEY_LOCAL_MACHINE, kPropertySheet), ERROR_SUCCESS);
    }

    void Lock(HKEY root, const std::wstring& path)
    {
        Framework::RegistryKey key;
        ASSERT_EQ(key.Create(root, path), ERROR_SUCCESS);
        key.Close();
        ASSERT_EQ(TestSupport::LockRegistryKey(root, path, true), ERROR_SUCCESS);
        locked_.push_back({root, path});
        Framework::RegistryKey probe;
        ASSERT_EQ(probe.Open(root, path, KEY_WRITE), ERROR_ACCESS_DENIED) << "the key could not be locked";
    }
    void Unlock(HKEY root, const std::wstring& path) { ASSERT_EQ(TestSupport::LockRegistryKey(root, path, false), ERROR_SUCCESS); }

    DWORD Regsvr32(const std::wstring& options)
    {
        TestSupport::ProcessResult run = TestSupport::RunProcess(L"regsvr32.exe " + options + L" \"" + dll_ + L"\"");
        EXPECT_TRUE(run.started);
        EXPECT_FALSE(run.timedOut);
        return run.exitCode;
    }

    // The server's own entry point, called in this process.
    HRESULT CallEntry(const char* name)
    {
        Framework::ScopedLibrary library(::LoadLibraryW(dll_.c_str()));
        if (!library)
            return HRESULT_FROM_WIN32(::GetLastError());
        using Entry = HRESULT(STDAPICALLTYPE*)();
        auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(library.Get(), name)));
        return entry ? entry() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
    }

    static TestSupport::ProcessResult Reg(const std::wstring& arguments)
    {
        TestSupport::ProcessResult run = TestSupport::RunProcess(L"reg.exe " + arguments);
        EXPECT_TRUE(run.started);
        EXPECT_FALSE(run.timedOut);
        return run;
    }

    // `reg query KEY /v NAME` (or /ve for the default value), its value line split in name, type, data.
    static QueriedValue Query(HKEY root, const std::wstring& key, const wchar_t* name)
    {
        std::wstring arguments = L"query \"" + RootName(root) + L"\\" + key + L"\" ";
        arguments += name ? L"/v \"" + std::wstring(name) + L"\"" : std::wstring(L"/ve");
        TestSupport::ProcessResult run = Reg(arguments);
        QueriedValue value;
        value.exitCode = run.exitCode;
        // A value line: four blanks, name, four blanks, type, four blanks, data.
        size_t start = 0;
        while (start < run.output.size()) {
            size_t end = run.output.find('\n', start);
            std::string line = run.output.substr(start, end == std::string::npos ? std::string::npos : end - start);
            start = end == std::string::npos ? run.output.size() : end + 1;
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
                line.pop_back();
            if (line.compare(0, 4, "    ") != 0)
                continue;
            size_t typeStart = line.find("    ", 4);
            if (typeStart == std::string::npos)
                continue;
            typeStart += 4;
            size_t dataStart = line.find("    ", typeStart);
            value.type = line.substr(typeStart, dataStart == std::string::npos ? std::string::npos : dataStart - typeStart);
            value.data = dataStart == std::string::npos ? std::string() : line.substr(dataStart + 4);
        }
        return value;
    }

    static bool KeyExists(HKEY root, const std::wstring& key)
    {
        return Reg(L"query \"" + RootName(root) + L"\\" + key + L"\"").exitCode == 0;
    }

    // Everything below the server's keys, as `reg query /s` lists it.
    static std::string Listing()
    {
        std::string listing;
        const std::pair<HKEY, std::wstring> keys[] = {{HKEY_CLASSES_ROOT, kExtensionClass},
                                                      {HKEY_CLASSES_ROOT, kAboutClass},
                                                      {HKEY_LOCAL_MACHINE, kSnapin},
                                                      {HKEY_LOCAL_MACHINE, kNodeType}};
        for (const auto& key : keys)
            listing += Reg(L"query \"" + RootName(key.first) + L"\\" + key.second + L"\" /s").output;
        return listing;
    }

    std::wstring dll_;
    struct Locked {
        HKEY root;
        std::wstring path;
    };
    std::vector<Locked> locked_;
};

struct ExpectedValue {
    HKEY root;
    std::wstring key;
    const wchar_t* name;  // null: the default value
    std::wstring data;    // empty: the DLL's own path
};

std::vector<ExpectedValue> ExpectedValues()
{
    return {
        {HKEY_CLASSES_ROOT, kExtensionClass, nullptr, L"Quillon - Property Sheet Extension"},
        {HKEY_CLASSES_ROOT, kExtensionClass + L"\\InprocServer32", nullptr, L""},
        {HKEY_CLASSES_ROOT, kExtensionClass + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {HKEY_CLASSES_ROOT, kAboutClass, nullptr, L"Quillon - PropSheetExtension"},
        {HKEY_CLASSES_ROOT, kAboutClass + L"\\InprocServer32", nullptr, L""},
        {HKEY_CLASSES_ROOT, kAboutClass + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {HKEY_LOCAL_MACHINE, kSnapin, L"NameString", L"Quillon - PropSheetExtension"},
        {HKEY_LOCAL_MACHINE, kSnapin, L"About", kAbout},
        {HKEY_LOCAL_MACHINE, kSnapin, L"Provider", L"Orvane"},
        {HKEY_LOCAL_MACHINE, kPropertySheet, kExtension.c_str(), L"Quillon3 Extension"},
    };
}

std::string Label(const ExpectedValue& value)
{
    return Narrow(RootName(value.root) + L"\\" + value.key + L" " + (value.name ? value.name : L"(default)"));
}

TEST_F(RegistrationTest, RegistersEveryKeyAndValue)
{
    ASSERT_EQ(Regsvr32(L"/s"), 0u);
    for (const ExpectedValue& expected : ExpectedValues()) {
        SCOPED_TRACE(Label(expected));
        QueriedValue value = Query(expected.root, expected.key, expected.name);
        ASSERT_EQ(value.exitCode, 0u);
        EXPECT_EQ(value.type, "REG_SZ");
        if (expected.data.empty()) {
            EXPECT_EQ(::CompareStringOrdinal(TestSupport::Widen(value.data).c_str(), -1, dll_.c_str(), -1, TRUE),
                      CSTR_EQUAL)
                << value.data;
        } else {
            EXPECT_EQ(value.data, Narrow(expected.data));
        }

        // The stored size counts the terminating zero.
        Framework::RegistryKey key;
        ASSERT_EQ(key.Open(expected.root, expected.key), ERROR_SUCCESS);
        DWORD bytes = 0;
        ASSERT_EQ(::RegQueryValueExW(key.Get(), expected.name, nullptr, nullptr, nullptr, &bytes), ERROR_SUCCESS);
        EXPECT_EQ(bytes, (value.data.size() + 1) * sizeof(wchar_t));
    }
    // Nothing more than that in the snap-in key.
    Framework::RegistryKey snapin;
    ASSERT_EQ(snapin.Open(HKEY_LOCAL_MACHINE, kSnapin), ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(snapin.CountValues(values), ERROR_SUCCESS);
    EXPECT_EQ(values, 3u);
}

TEST_F(RegistrationTest, RegisteringTwiceLeavesWhatRegisteringOnceLeaves)
{
    ASSERT_EQ(Regsvr32(L"/s"), 0u);
    const std::string once = Listing();
    ASSERT_NE(once.find("Quillon3 Extension"), std::string::npos) << once;
    ASSERT_EQ(Regsvr32(L"/s"), 0u);
    EXPECT_EQ(Listing(), once);
}

TEST_F(RegistrationTest, UnregisteringKeepsOtherExtensionsOfTheNodeType)
{
    ASSERT_EQ(Regsvr32(L"/s"), 0u);
    ASSERT_EQ(Framework::WriteStringValue(HKEY_LOCAL_MACHINE, kPropertySheet, kOtherExtension.c_str(), L"Other Extension"),
              ERROR_SUCCESS);
    // Sub-keys that someone added below the server's keys go with them.
    for (const std::wstring& key : {kSnapin + L"\\NodeTypes\\" + kOtherExtension, kExtensionClass + L"\\ProgID"})
        ASSERT_EQ(Framework::WriteStringValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\" + key, nullptr, L"x"),
                  ERROR_SUCCESS);

    ASSERT_EQ(Regsvr32(L"/s /u"), 0u);
    for (const std::pair<HKEY, std::wstring>& gone :
         {std::make_pair(HKEY_CLASSES_ROOT, kExtensionClass), std::make_pair(HKEY_CLASSES_ROOT, kAboutClass),
          std::make_pair(HKEY_LOCAL_MACHINE, kSnapin)})
        EXPECT_FALSE(KeyExists(gone.first, gone.second)) << Narrow(gone.second);
    EXPECT_NE(Query(HKEY_LOCAL_MACHINE, kPropertySheet, kExtension.c_str()).exitCode, 0u);
    QueriedValue other = Query(HKEY_LOCAL_MACHINE, kPropertySheet, kOtherExtension.c_str());
    EXPECT_EQ(other.exitCode, 0u);
    EXPECT_EQ(other.data, "Other Extension");

    // Once this extension is the only one, its node type's key goes with its value.
    Framework::DeleteValueIfPresent(HKEY_LOCAL_MACHINE, kPropertySheet, kOtherExtension.c_str());
    ASSERT_EQ(Regsvr32(L"/s"), 0u);
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kPropertySheet));
    ASSERT_EQ(Regsvr32(L"/s /u"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kPropertySheet));
}

TEST_F(RegistrationTest, UnregisteringWhatWasNeverRegisteredSucceeds)
{
    EXPECT_EQ(CallEntry("DllUnregisterServer"), S_OK);
    EXPECT_EQ(Regsvr32(L"/s /u"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSnapin));
}

TEST_F(RegistrationTest, AKeyThatCannotBeWrittenFailsRegistrationAndTheRestIsWritten)
{
    Lock(HKEY_CLASSES_ROOT, kExtensionClass + L"\\InprocServer32");
    EXPECT_EQ(CallEntry("DllRegisterServer"), SELFREG_E_CLASS);
    EXPECT_NE(Regsvr32(L"/s"), 0u);
    // Everything but the locked key was written all the same.
    for (const ExpectedValue& expected : ExpectedValues()) {
        if (expected.key == kExtensionClass + L"\\InprocServer32")
            continue;
        EXPECT_EQ(Query(expected.root, expected.key, expected.name).exitCode, 0u) << Label(expected);
    }
    // A second run, once the key can be written, completes the registration.
    Unlock(HKEY_CLASSES_ROOT, kExtensionClass + L"\\InprocServer32");
    EXPECT_EQ(CallEntry("DllRegisterServer"), S_OK);
    EXPECT_EQ(Query(HKEY_CLASSES_ROOT, kExtensionClass + L"\\InprocServer32", L"ThreadingModel").data, "Apartment");
}

TEST_F(RegistrationTest, AKeyThatCannotBeDeletedFailsUnregistrationAndTheRestIsRemoved)
{
    ASSERT_EQ(Regsvr32(L"/s"), 0u);
    Lock(HKEY_LOCAL_MACHINE, kSnapin + L"\\Locked");
    EXPECT_EQ(CallEntry("DllUnregisterServer"), SELFREG_E_CLASS);
    EXPECT_NE(Regsvr32(L"/s /u"), 0u);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kExtensionClass));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kAboutClass));
    EXPECT_NE(Query(HKEY_LOCAL_MACHINE, kPropertySheet, kExtension.c_str()).exitCode, 0u);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kSnapin));

    Unlock(HKEY_LOCAL_MACHINE, kSnapin + L"\\Locked");
    EXPECT_EQ(CallEntry("DllUnregisterServer"), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSnapin));
}

}
