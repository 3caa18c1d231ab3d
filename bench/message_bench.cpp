// Throughput of the reassembly and of the "%c" rendering, with a plain memcpy
// of the same bytes as the yardstick for the rendering.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "message.h"

static const int32_t streamMessageSize = 100;
static const int32_t streamMessages = 655;
static const int32_t chunkSize = 256;
static const int32_t wireIntegerSize = 4;
static const int64_t smallRecord = streamMessageSize;
static const int64_t largestRecord = maxMessageBody + wireIntegerSize;
static const double bytesPerMegabyte = 1e6;

// Text-like bytes with some of everything the letter filter has to sort out.
static std::vector<char> makeBytes(size_t length) {
    static const char sample[] = "Marrowby peer 42: hello, World!\n\t\x01\xC3\xA9 zz";
    std::vector<char> bytes(length);
    for (size_t i = 0; i < length; i++) {
        bytes[i] = sample[i % (sizeof(sample) - 1)];
    }
    return bytes;
}

static void measureParseData(benchmark::State& state) {
    std::vector<char> stream = makeBytes(static_cast<size_t>(streamMessageSize) * streamMessages);
    for (int32_t i = 0; i < streamMessages; i++) {
        intBytesToChar(&stream[static_cast<size_t>(i) * streamMessageSize], streamMessageSize - wireIntegerSize);
    }
    resetParser();
    Data* buffer = newData(nullptr, 0);
    for (auto _ : state) {
        for (size_t start = 0; start < stream.size(); start += chunkSize) {
            int32_t count = static_cast<int32_t>(std::min(stream.size() - start, static_cast<size_t>(chunkSize)));
            for (Data* message = parseData(buffer, &stream[start], count); message != nullptr;
                 message = parseData(buffer, nullptr, 0)) {
                benchmark::DoNotOptimize(message->content);
                deleteData(message);
            }
        }
    }
    deleteData(buffer);
    resetParser();
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(stream.size()));
}
BENCHMARK(measureParseData)->Name("parseData");

static void measureDataToStr(benchmark::State& state) {
    std::vector<char> bytes = makeBytes(static_cast<size_t>(state.range(0)));
    Data record = {static_cast<int32_t>(bytes.size()), bytes.data()};
    for (auto _ : state) {
        char* text = dataToStr(&record, characterFormat, lettersOnlyMode);
        benchmark::DoNotOptimize(text);
        free(text);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(measureDataToStr)->Name("dataToStr")->Arg(smallRecord)->Arg(largestRecord);

static void measureMemcpy(benchmark::State& state) {
    std::vector<char> bytes = makeBytes(static_cast<size_t>(state.range(0)));
    std::vector<char> copy(bytes.size());
    for (auto _ : state) {
        memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(measureMemcpy)->Name("memcpy")->Arg(smallRecord)->Arg(largestRecord);

// Keeps every benchmark's throughput for the summary after the usual table.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& reports) override {
        for (const Run& run : reports) {
            auto counter = run.counters.find("bytes_per_second");
            if (!run.error_occurred && counter != run.counters.end()) {
                megabytesPerSecond[run.benchmark_name()] = counter->second.value / bytesPerMegabyte;
            }
        }
        ConsoleReporter::ReportRuns(reports);
    }

    std::map<std::string, double> megabytesPerSecond;
};

static void printSummary(const std::map<std::string, double>& rates) {
    printf("\nThroughput (MB/s, 10^6 bytes per second):\n");
    for (const auto& rate : rates) {
        printf("  %-16s %10.1f\n", rate.first.c_str(), rate.second);
    }
    for (int64_t size : {smallRecord, largestRecord}) {
        std::string suffix = "/" + std::to_string(size);
        auto render = rates.find("dataToStr" + suffix);
        auto copy = rates.find("memcpy" + suffix);
        if (render != rates.end() && copy != rates.end() && render->second > 0) {
            printf("dataToStr \"%%c\" mode 2 over %lld bytes takes %.2fx the time of memcpy (target: within 4x)\n",
                   static_cast<long long>(size), copy->second / render->second);
        }
    }
}

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printSummary(reporter.megabytesPerSecond);
    return 0;
}
