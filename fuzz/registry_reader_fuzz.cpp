// libFuzzer target: the registry file reader; whatever it reads must survive its own text form.
#include "registry_format.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace platform::kernel;
    const RegistryKeys keys = parseRegistry(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = formatRegistry(keys);
    if (formatRegistry(parseRegistry(text)) != text)
        __builtin_trap();
    return 0;
}
