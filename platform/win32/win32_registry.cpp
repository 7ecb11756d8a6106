#include "platform/win32/win32_registry.h"

#include "platform/result.h"
#include "platform/win32/errors.h"
#include "platform/win32/wide_text.h"

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

namespace platform::win32 {

namespace {

// The text with its %NAME% variables replaced, with its terminating zero.
Result<std::wstring> expanded(const std::wstring& text) {
    std::wstring out(text.size() + 1, L'\0');
    for (;;) {
        const DWORD needed =
            ::ExpandEnvironmentStringsW(text.c_str(), out.data(), static_cast<DWORD>(out.size()));
        if (needed == 0)
            return lastError();
        const bool fitted = needed <= out.size();
        out.resize(needed);
        if (fitted)
            return out;
    }
}

} // namespace

std::error_code Win32Registry::openKey(std::uint32_t root, std::string_view keyName,
                                       std::uint32_t access, Key& key) {
    // The predefined keys are 32-bit values, sign-extended to a handle.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    const LSTATUS status =
        ::RegOpenKeyExW(rootKey, toWide(keyName).c_str(), 0, static_cast<REGSAM>(access), &opened);
    if (status != ERROR_SUCCESS)
        return fromWin32(static_cast<unsigned long>(status));
    key = reinterpret_cast<Key>(opened);
    return {};
}

std::error_code Win32Registry::queryValue(Key key, std::string_view valueName, std::uint32_t& type,
                                          char* buffer, std::uint32_t& size) {
    const HKEY opened = reinterpret_cast<HKEY>(key);
    const std::wstring name = toWide(valueName);
    DWORD valueType = 0;
    DWORD bytes = 0;
    LSTATUS status = ::RegQueryValueExW(opened, name.c_str(), nullptr, &valueType, nullptr, &bytes);
    if (status != ERROR_SUCCESS)
        return fromWin32(static_cast<unsigned long>(status));
    std::vector<BYTE> data(bytes + sizeof(wchar_t));
    status = ::RegQueryValueExW(opened, name.c_str(), nullptr, &valueType, data.data(), &bytes);
    if (status != ERROR_SUCCESS)
        return fromWin32(static_cast<unsigned long>(status));
    std::string value;
    if (valueType == REG_SZ || valueType == REG_EXPAND_SZ || valueType == REG_MULTI_SZ) {
        std::wstring wide(bytes / sizeof(wchar_t), L'\0');
        std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
        if (valueType == REG_EXPAND_SZ) {
            auto text = expanded(wide);
            if (!text)
                return text.error();
            wide = std::move(*text);
            valueType = REG_SZ;
        }
        value = fromWide(wide);
    } else {
        value.assign(reinterpret_cast<const char*>(data.data()), bytes);
    }
    if (value.size() > size)
        return std::make_error_code(std::errc::value_too_large);
    std::memcpy(buffer, value.data(), value.size());
    size = static_cast<std::uint32_t>(value.size());
    type = valueType;
    return {};
}

void Win32Registry::closeKey(Key key) {
    ::RegCloseKey(reinterpret_cast<HKEY>(key));
}

} // namespace platform::win32
