// Whatever a hand-edited settings file holds, reading it must not crash, and
// a colour that was read must survive being written and read again.
#include "SettingsFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(std::min<size_t>(size, 4096)));
    BackgroundColour colour;
    if (!ParseSettings(bytes, colour))
        return 0;
    BackgroundColour again;
    again.red = again.green = -1;
    again.blue = 0;
    if (!ParseSettings(FormatSettings(colour), again) || !(again == colour))
        std::abort();
    return 0;
}
