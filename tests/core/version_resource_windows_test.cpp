// The program's version resource, as Windows shows it in the file's properties, holds what the
// about box reads from version_info.h. The resource is linked into this test program.

#include "version_info.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string utf8(const wchar_t* wide) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
    text.pop_back();
    return text;
}

TEST(VersionResource, HoldsTheAboutBoxValuesAndTheIcon) {
    wchar_t program[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    std::vector<char> data(::GetFileVersionInfoSizeW(program, nullptr));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(program, 0, static_cast<DWORD>(data.size()), data.data()));
    auto text = [&](const wchar_t* name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040704B0\\") + name;
        return ::VerQueryValueW(data.data(), path.c_str(), &value, &length) && length > 0
                   ? utf8(static_cast<const wchar_t*>(value))
                   : std::string("(fehlt)");
    };
    EXPECT_EQ(text(L"ProductName"), version_info::title);
    EXPECT_EQ(text(L"FileDescription"), version_info::description);
    EXPECT_EQ(text(L"CompanyName"), version_info::companyName);
    EXPECT_EQ(text(L"LegalTrademarks"), version_info::trademarks);
    EXPECT_EQ(text(L"LegalCopyright"), version_info::legalNotice);

    void* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", &fixed, &length));
    const auto& info = *static_cast<const VS_FIXEDFILEINFO*>(fixed);
    EXPECT_EQ(HIWORD(info.dwFileVersionMS), version_info::major);
    EXPECT_EQ(LOWORD(info.dwFileVersionMS), version_info::minor);
    EXPECT_EQ(LOWORD(info.dwFileVersionLS), version_info::revision);

    EXPECT_NE(::FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_GROUP_ICON), nullptr);
}

} // namespace
