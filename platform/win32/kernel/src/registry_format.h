// The registry's in-memory keys and their text file form.
#pragma once

#include <win32/registry.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform::kernel {

struct RegistryValue {
    std::string name; // as first stored; "" is the default value
    DWORD type = 0;
    std::string data; // the value's bytes
};

struct RegistryKey {
    std::string path; // full path from the root name, as first created ("HKEY_LOCAL_MACHINE\SOFTWARE\...")
    std::vector<RegistryValue> values;
};

// Keys by their case-folded full path.
using RegistryKeys = std::map<std::string, RegistryKey>;

// ASCII lower case, the folding of key paths and value names.
std::string foldCase(std::string_view text);

// The text form, one key per section:
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Veltrane]
//   "RGain"=dword:0000001f
//   "Compressor"=sz:"text with \" \\ and \x0a escaped"
//   "Other"=hex(3):01,ff
// sz: is used for text that ends in its only NUL, dword: for 4-byte REG_DWORD, hex(type): for the rest.
std::string formatRegistry(const RegistryKeys& keys);
// Reads that form; lines it cannot read are skipped. Any thread (no shared state).
RegistryKeys parseRegistry(std::string_view text);

} // namespace platform::kernel
