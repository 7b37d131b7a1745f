// The mapping transfer against the virtual MIDI bus with the real 2 ms pauses.
// The protocol's floor is its 50 pauses of 2 ms; "ratio_to_floor" is the wall
// time of one transfer divided by that floor (goal: below 1.10).

#include "app/device/ThisProduct.h"
#include "app/model/Arrays.h"
#include "tools/simdevice/SimulatedDalvi.h"
#include "zorvane_core/VirtualMidiBackend.h"

#include <benchmark/benchmark.h>

#include <juce_events/juce_events.h>

namespace
{
    constexpr double floorSeconds = 50 * 0.002;

    void transferToSimulatedDevice (benchmark::State& state)
    {
        juce::ScopedJuceInitialiser_GUI juce;
        const auto settings = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                  .getNonexistentChildFile ("travik-bench", {}, false);
        zorvane::VirtualMidiBackend bus;
        SimulatedDalvi device (bus);

        {
            DalviPlus::Environment env;
            env.settingsFolder = settings;
            env.midi = &bus;
            DalviPlus model (env);
            model.setCtMode ((CtMode::Type) state.range (0));
            model.setCurrentOutputDevice (device.getPortName());

            for (auto _ : state)
                if (model.sendCurrentMapping().failed())
                    state.SkipWithError ("transfer failed");

            state.counters["ratio_to_floor"] = benchmark::Counter ((double) state.iterations() * floorSeconds,
                                                                   benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        }

        settings.deleteRecursively();

        if (device.getNumCompleteTransfers() != (int) state.iterations())
            state.SkipWithError ("the device did not decode every transfer");
    }
}

BENCHMARK (transferToSimulatedDevice)->DenseRange (0, 3)->Unit (benchmark::kMillisecond)->UseRealTime()->MinTime (2.0);

BENCHMARK_MAIN();
