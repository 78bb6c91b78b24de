// A 128 KiB firmware image written to a simulated controller through the
// driver core, against the bound of the USB control pipe.
//
// The bound: every block costs two control transfers (the block itself and
// the status read after it), and a full-speed device completes at most one
// control transfer per 1 ms frame, so 64-byte blocks give 2 ms per block:
// 2048 blocks, 4.096 s for the image. The simulated bus has no frames, so
// what is measured is the host's own cost: the updater's request buffers,
// the device-control layer, the driver's property handler and the simulated
// controller.
#include "updater/core/DeviceClass.h"
#include "updater/core/Log.h"
#include "updater/core/UpdaterServices.h"
#include "updater/win32/USBClassicEnumerator.h"
#include "updater/win32/Win32USBClassicUpdater.h"

#include "platform/sim/SimDeviceControl.h"
#include "platform/sim/SimMachine.h"
#include "simulator/Controller.h"
#include "simulator/usb/ControllerFirmware.h"
#include "simulator/usb/FirmwareUpdate.h"
#include "simulator/usb/UsbController.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

constexpr std::size_t ImageSize = 128 * 1024;
constexpr double ControlTransferSeconds = 0.001; // one per full-speed frame
constexpr int TransfersPerBlock = 2;

// One controller on a simulated machine and a package for it.
struct Rig {
    Rig()
    {
        Oxa::setLogSink([](const std::string &) {});
        auto controller = std::make_shared<Sim::Controller>(49);
        machine.attach(std::make_shared<Sim::UsbController>(controller->model(),
                                                            std::make_shared<Sim::ControllerFirmware>(controller)));
        image = (std::filesystem::temp_directory_path() / "vorpad-bench-updater.bin").string();
        const auto bytes = Sim::FirmwareUpdate::makeImage((26 << 9) | (1 << 5) | 15, 0x0110, ImageSize);
        std::ofstream(image, std::ios::binary)
            .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
        auto deviceClass = std::make_unique<Oxa::DeviceClass>("Vorpad");
        deviceClass->addHardwareId("USB\\VID_041E&PID_3F01");
        Oxa::FirmwareDescription description;
        description.imagePath = image;
        description.revision = "1.10";
        deviceClass->addFirmware(description);
        deviceClass->setEnumerator(std::make_unique<Oxa::USBClassicEnumerator>(*deviceClass, &control));
        services.addDeviceClass(std::move(deviceClass));
        services.rescan();
    }
    ~Rig() { std::filesystem::remove(image); }

    Platform::SimMachine machine;
    Platform::SimDeviceControl control{machine};
    Oxa::UpdaterServices services;
    std::string image;
};

void reportAgainstBound(benchmark::State &state, int blocks)
{
    state.counters["blocks"] = blocks;
    state.counters["bound_s"] = blocks * TransfersPerBlock * ControlTransferSeconds;
    state.counters["per_block"] =
        benchmark::Counter(double(blocks), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The whole update: start and lock, every block with its status, end, the
// version check, unlock.
void BM_WholeUpdate(benchmark::State &state)
{
    Rig rig;
    int blocks = 0;
    for (auto _ : state) {
        std::unique_ptr<Oxa::Updater> updater = rig.services.createUpdater(0);
        if (!updater) {
            state.SkipWithError("the update did not start");
            return;
        }
        Oxa::PartUpdater &part = updater->part(0);
        blocks = part.stepCount();
        for (int i = 0; i < blocks; ++i) {
            if (!part.performStep(i)) {
                state.SkipWithError("a block failed");
                return;
            }
        }
        std::string failure;
        if (!updater->finish(failure)) {
            state.SkipWithError(failure.c_str());
            return;
        }
    }
    reportAgainstBound(state, blocks);
}
BENCHMARK(BM_WholeUpdate)->Unit(benchmark::kMillisecond)->UseRealTime();

// The updater's own share of a block: the two requests built and answered by
// a device-control layer that does no work.
class AnsweringControl : public Platform::DeviceControl
{
public:
    std::vector<Interface> presentInterfaces() override { return {}; }
    Handle open(const std::wstring &) override { return 1; }
    Result propertyRequest(Handle, const std::uint8_t *input, std::uint32_t inputSize, std::uint8_t *output,
                           std::uint32_t outputSize) override
    {
        benchmark::DoNotOptimize(input[inputSize - 1]);
        if (outputSize)
            std::memset(output, 0, outputSize);
        return Result{true, 0, outputSize};
    }
    void close(Handle) override {}
    std::wstring serviceName(const std::wstring &) override { return {}; }
    std::wstring serviceBinaryPath(const std::wstring &) override { return {}; }
    FileVersion fileVersion(const std::wstring &) override { return {}; }
};

void BM_HostOverheadPerBlock(benchmark::State &state)
{
    Rig rig;
    AnsweringControl answering;
    Oxa::Win32USBClassicUpdater updater(*rig.services.deviceClasses()[0], answering, L"answering");
    const int blocks = updater.stepCount();
    int step = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(updater.performStep(step));
        step = step + 1 == blocks ? 0 : step + 1;
    }
    state.counters["bound_per_block_us"] = TransfersPerBlock * ControlTransferSeconds * 1e6;
}
BENCHMARK(BM_HostOverheadPerBlock)->UseRealTime();

} // namespace
