// Arbitrary bytes through the SysEx parser, its extractors and the identity check.
#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 4096)
        return 0;
    // An exactly sized private copy: the parser validates in place, and ASan
    // sees any read past the end.
    std::vector<Byte> message(data, data + size);
    CBSysExPatch &sysEx = CBPatch::instance().sysEx();

    SysExContext context;
    context.message = message.data();
    context.length = int(message.size());
    context.deviceId = size > 0 && (data[0] & 1) ? 0x10 : CBSysExPatch::AnyDevice;
    if (sysEx.parse(context) == CBSysExPatch::Accepted) {
        PatchImage out{};
        context.image = out.data();
        switch (context.command) {
        case CBSysExPatch::PatchTransfer:
            sysEx.extractPatchImage(context);
            break;
        case CBSysExPatch::ZonesTransfer:
            sysEx.extractZonesImage(context);
            break;
        case CBSysExPatch::BankSettingsTransfer:
            sysEx.extractBankSettings(context);
            break;
        default:
            break;
        }
    }

    Brisel::IdentityResult identity;
    CBSysExPatch::checkIdentityReply(message.data(), int(message.size()), identity);
    return 0;
}
