#include "Framework/Module.h"

namespace Framework {

HRESULT CAppModule::Init(HINSTANCE instance)
{
    instance_ = instance;
    return S_OK;
}

HINSTANCE CAppModule::GetModuleInstance() const noexcept
{
    return instance_ ? instance_ : ::GetModuleHandleW(nullptr);
}

void CAppModule::Term()
{
    std::lock_guard<std::mutex> lock(mutex_);
    loops_.clear();
}

bool CAppModule::AddMessageLoop(CMessageLoop* loop)
{
    if (!loop)
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    return loops_.emplace(::GetCurrentThreadId(), loop).second;
}

bool CAppModule::RemoveMessageLoop()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return loops_.erase(::GetCurrentThreadId()) == 1;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = loops_.find(threadId);
    return found == loops_.end() ? nullptr : found->second;
}

size_t CAppModule::GetMessageLoopCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return loops_.size();
}

CAppModule& Module()
{
    static CAppModule module;
    return module;
}

}
