#include "editor/core/IdentityProbe.h"

#include "editor/core/MidiInPort.h"
#include "editor/core/MidiOutPort.h"
#include "editor/core/Requests.h"
#include "editor/core/SendAlgorithm.h"

namespace Brisel {

namespace {
constexpr int ProbeRetries = 1; // two attempts, whatever the settings say
} // namespace

IdentityResult probeIdentity(int inputIndex, int outputIndex)
{
    IdentityResult result;
    if (!Midi::MidiInPort::isValidIndex(inputIndex) || !Midi::MidiOutPort::isValidIndex(outputIndex))
        return result;
    Midi::MidiInPort input{unsigned(inputIndex)};
    Midi::MidiOutPort output{unsigned(outputIndex)};
    if (input.open() && output.open()) {
        SynchronousSendAlgorithm algorithm(output, input);
        IdentityResult answer;
        algorithm.send(std::make_unique<DeviceIdentityRequest>(answer), ProbeRetries);
        result = answer;
    }
    input.close();
    output.close();
    return result;
}

} // namespace Brisel
