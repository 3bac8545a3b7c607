#pragma once
// The metabase stand-in: IMSAdminBaseW answering OpenKey, CloseKey, GetData and EnumKeys from a
// site description; every other method gives E_NOTIMPL.
#include "SiteDescription.h"

#include "Common/AppHostAdmin.h"
#include "Framework/ComObject.h"

#include <map>
#include <memory>
#include <mutex>

namespace IisStore {

class MetabaseStore final : public Framework::ComObject<MetabaseStore, IMSAdminBaseW> {
public:
    explicit MetabaseStore(std::shared_ptr<const SiteDescription> description) noexcept;
    static const Framework::InterfaceEntry* InterfaceTable() noexcept;

    HRESULT STDMETHODCALLTYPE OpenKey(METADATA_HANDLE handle, LPCWSTR path, DWORD access, DWORD timeout,
                                      PMETADATA_HANDLE newHandle) override;
    HRESULT STDMETHODCALLTYPE CloseKey(METADATA_HANDLE handle) override;
    HRESULT STDMETHODCALLTYPE GetData(METADATA_HANDLE handle, LPCWSTR path, PMETADATA_RECORD record,
                                      DWORD* requiredLength) override;
    HRESULT STDMETHODCALLTYPE EnumKeys(METADATA_HANDLE handle, LPCWSTR path, LPWSTR name, DWORD index) override;

    HRESULT STDMETHODCALLTYPE AddKey(METADATA_HANDLE, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteKey(METADATA_HANDLE, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteChildKeys(METADATA_HANDLE, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyKey(METADATA_HANDLE, LPCWSTR, METADATA_HANDLE, LPCWSTR, WINBOOL, WINBOOL) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE RenameKey(METADATA_HANDLE, LPCWSTR, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(METADATA_HANDLE, LPCWSTR, PMETADATA_RECORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteData(METADATA_HANDLE, LPCWSTR, DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumData(METADATA_HANDLE, LPCWSTR, PMETADATA_RECORD, DWORD, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetAllData(METADATA_HANDLE, LPCWSTR, DWORD, DWORD, DWORD, DWORD*, DWORD*, DWORD,
                                         unsigned char*, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DeleteAllData(METADATA_HANDLE, LPCWSTR, DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyData(METADATA_HANDLE, LPCWSTR, METADATA_HANDLE, LPCWSTR, DWORD, DWORD, DWORD,
                                       WINBOOL) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDataPaths(METADATA_HANDLE, LPCWSTR, DWORD, DWORD, DWORD, WCHAR*, DWORD*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ChangePermissions(METADATA_HANDLE, DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SaveData() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetHandleInfo(METADATA_HANDLE, PMETADATA_HANDLE_INFO) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSystemChangeNumber(DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDataSetNumber(METADATA_HANDLE, LPCWSTR, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetLastChangeTime(METADATA_HANDLE, LPCWSTR, PFILETIME, WINBOOL) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetLastChangeTime(METADATA_HANDLE, LPCWSTR, PFILETIME, WINBOOL) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE KeyExchangePhase1() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE KeyExchangePhase2() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Backup(LPCWSTR, DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Restore(LPCWSTR, DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumBackups(LPWSTR, DWORD*, PFILETIME, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteBackup(LPCWSTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnmarshalInterface(IMSAdminBaseW**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetServerGuid() override { return E_NOTIMPL; }

private:
    // The key at path below the key of handle; an HRESULT says why there is none.
    HRESULT Resolve(METADATA_HANDLE handle, LPCWSTR path, const MetabaseKey*& key);

    std::shared_ptr<const SiteDescription> description_;
    std::mutex mutex_;
    std::map<METADATA_HANDLE, const MetabaseKey*> handles_;
    METADATA_HANDLE nextHandle_ = 1;
};

}
