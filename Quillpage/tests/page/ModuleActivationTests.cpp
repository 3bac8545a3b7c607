// The module's own manifest as an activation context: inside it "comctl32.dll" is redirected to the
// common controls of version 6, whatever the host process asked for.
#include "ModuleActivation.h"
#include "ModuleState.h"

#include <Framework/ActivationContext.h>
#include <Framework/Handles.h>

#include <gtest/gtest.h>

namespace {

// Whether the thread's active context redirects the common controls library to an assembly.
bool CommonControlsRedirected()
{
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof(data);
    return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &data) !=
           FALSE;
}

TEST(ModuleActivationTest, ModuleManifestGivesCommonControls6)
{
    ASSERT_TRUE(Orvane::Quillon::InitModule(::GetModuleHandleW(nullptr)));
    HANDLE context = Orvane::Quillon::ModuleActivationContext();
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Orvane::Quillon::ModuleActivationContext(), context) << "made once and kept";
    // The test program itself has no manifest that asks for them.
    EXPECT_FALSE(CommonControlsRedirected());
    {
        Framework::ActivationScope scope(context);
        ASSERT_TRUE(scope.Active());
        EXPECT_TRUE(CommonControlsRedirected());
        HANDLE current = nullptr;
        ASSERT_TRUE(::GetCurrentActCtx(&current));
        EXPECT_EQ(current, context);
        ::ReleaseActCtx(current);
    }
    EXPECT_FALSE(CommonControlsRedirected());
}

TEST(ModuleActivationTest, ModuleWithoutManifestGivesNoContext)
{
    Framework::ActivationContext context;
    EXPECT_NE(context.Create(::GetModuleHandleW(nullptr), 77), 0u);
    EXPECT_FALSE(context);
    Framework::ActivationScope scope(context.Get());
    EXPECT_FALSE(scope.Active());
}

}
