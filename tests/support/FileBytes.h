#pragma once

#include "editor/core/model/CBPatch.h"
#include "editor/core/model/CBSysExPatch.h"

#include <array>
#include <string>
#include <vector>

// Hand-made SysEx messages, built byte by byte with a chosen device ID and
// patch number apart from the model's own builders: file contents for the
// file readers' tests, requests and replies for the firmware and the exchanges.
namespace FileBytes {

using Bytes = std::vector<Byte>;

inline Bytes header(int deviceId, int command) { return {0xF0, 0x18, 0x42, 0x00, Byte(deviceId), Byte(command), 0x00}; }

inline Bytes defaultPatch(int octave = 4)
{
    Bytes image(PatchImageSize);
    CBPatch::instance().initPatch(image.data());
    image[22] = Byte(octave);
    return image;
}

inline Bytes defaultZones(int channel = 0)
{
    Bytes image(ZonesImageSize);
    CBPatch::instance().initZones(image.data());
    image[8] = Byte(channel);
    return image;
}

inline Bytes defaultSettings(int current = 1)
{
    Bytes record(20);
    CBPatch::instance().initBankSettings(record.data());
    record.resize(BankSettingsSize);
    record[16] = Byte(current);
    return record;
}

inline Bytes transfer(int command, const Bytes &image, int patchNumber = 0, int deviceId = 0x7F)
{
    Bytes m = header(deviceId, command);
    if (command != CBSysExPatch::BankSettingsTransfer)
        m.push_back(Byte(patchNumber));
    m.insert(m.end(), image.begin(), image.end());
    m.push_back(0xF7);
    return m;
}

inline Bytes patchTransfer(const Bytes &image, int patchNumber = 0, int deviceId = 0x7F)
{
    return transfer(CBSysExPatch::PatchTransfer, image, patchNumber, deviceId);
}

inline Bytes patchTransfer(const PatchImage &image, int patchNumber = 0, int deviceId = 0x7F)
{
    return patchTransfer(Bytes(image.begin(), image.end()), patchNumber, deviceId);
}

inline Bytes zonesTransfer(const Bytes &image, int patchNumber = 0, int deviceId = 0x7F)
{
    return transfer(CBSysExPatch::ZonesTransfer, image, patchNumber, deviceId);
}

inline Bytes settingsTransfer(const Bytes &record, int deviceId = 0x7F)
{
    return transfer(CBSysExPatch::BankSettingsTransfer, record, 0, deviceId);
}

inline void append(Bytes &out, const Bytes &more) { out.insert(out.end(), more.begin(), more.end()); }

// A bank file with the given counts; patch p has semitone 10 + p, zones
// image z has channel z of zone 1, so positions can be told apart.
inline Bytes bank(int patches = 16, int zones = 16, int current = 1)
{
    Bytes out = settingsTransfer(defaultSettings(current));
    for (int p = 0; p < patches; ++p) {
        Bytes image = defaultPatch();
        image[23] = Byte(10 + p);
        append(out, patchTransfer(image));
    }
    for (int z = 0; z < zones; ++z)
        append(out, zonesTransfer(defaultZones(z % 16)));
    return out;
}

} // namespace FileBytes
