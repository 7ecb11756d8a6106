// The version resource linked into this program holds what the about box reads from
// version_info.h, umlauts included, and the program icon.

#include "version_info.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(VersionResource, HoldsTheAboutBoxValuesAndTheIcon) {
    wchar_t program[MAX_PATH];
    ASSERT_GT(::GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    std::vector<char> data(::GetFileVersionInfoSizeW(program, nullptr));
    ASSERT_TRUE(::GetFileVersionInfoW(program, 0, static_cast<DWORD>(data.size()), data.data()));
    auto text = [&](const std::wstring& name) {
        wchar_t* value = nullptr;
        UINT length = 0;
        const std::wstring path = L"\\StringFileInfo\\040704B0\\" + name;
        if (!::VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
            return std::string("(fehlt)");
        std::string utf8(4 * length, '\0');
        utf8.resize(static_cast<std::size_t>(
            ::WideCharToMultiByte(CP_UTF8, 0, value, static_cast<int>(length) - 1, utf8.data(),
                                  static_cast<int>(utf8.size()), nullptr, nullptr)));
        return utf8;
    };
    EXPECT_EQ(text(L"ProductName"), version_info::title);
    EXPECT_EQ(text(L"FileDescription"), version_info::description);
    EXPECT_EQ(text(L"CompanyName"), version_info::companyName);
    EXPECT_EQ(text(L"LegalTrademarks"), version_info::trademarks);
    EXPECT_EQ(text(L"LegalCopyright"), version_info::legalNotice);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(version_info::minor, version_info::major));
    EXPECT_EQ(LOWORD(fixed->dwFileVersionLS), version_info::revision);
    EXPECT_NE(::FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_GROUP_ICON), nullptr);
}

} // namespace
