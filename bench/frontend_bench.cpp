// Scanner and parser throughput, and linearity on long operator chains and deep calls.
#include "c_parser.h"
#include "c_scanner.h"
#include "recording_dialog.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace orvane;

// Ordinary install-script functions, repeated until the text reaches `bytes`.
std::string generateScript(std::size_t bytes) {
    std::string script = "int counter;\nstring names[];\n";
    for (int n = 0; script.size() < bytes; ++n) {
        const std::string id = std::to_string(n);
        script += "int step" + id +
                  "(int a, string s)\n{\n"
                  "  int i, total;\n"
                  "  total = 0;\n"
                  "  for (i = 0; i < a; i++) {\n"
                  "    if (i % 2 == 0) total += i * 3; else total -= 1;\n"
                  "    names[i] = s + \"-\" + inttostr(i);\n"
                  "  }\n"
                  "  while (total > 100) total = total / 2;\n"
                  "  messageBox(\"Schritt " +
                  id +
                  " fertig\"); // progress\n"
                  "  return total + counter;\n}\n\n";
    }
    return script;
}

void scanAndParse(const std::vector<std::string>& lines) {
    TScanner scanner;
    RecordingDialog dialog;
    TParser parser(scanner, dialog);
    scanner.scan(lines);
    if (!parser.parse(scanner.token))
        throw std::runtime_error(parser.fehlerText);
    benchmark::DoNotOptimize(parser.rootBaum);
}

void BM_ScanAndParse1MB(benchmark::State& state) {
    const std::string script = generateScript(1 << 20);
    const auto lines = splitScriptLines(script);
    for (auto _ : state)
        scanAndParse(lines);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * script.size()));
}
BENCHMARK(BM_ScanAndParse1MB)->Unit(benchmark::kMillisecond);

void BM_LongSum(benchmark::State& state) {
    std::string expression = "a";
    for (int64_t k = 1; k < state.range(0); ++k)
        expression += " + a";
    const auto lines = splitScriptLines("void main() { x = " + expression + "; }");
    for (auto _ : state)
        scanAndParse(lines);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LongSum)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_DeepCalls(benchmark::State& state) {
    const auto depth = static_cast<std::size_t>(state.range(0));
    std::string call;
    for (std::size_t k = 0; k < depth; ++k)
        call += "f(";
    call.append("1").append(depth, ')');
    const auto lines = splitScriptLines(std::string("void main() { ").append(call).append("; }"));
    for (auto _ : state)
        scanAndParse(lines);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DeepCalls)->Arg(250)->Arg(500)->Unit(benchmark::kMicrosecond)->Complexity();

} // namespace

BENCHMARK_MAIN();
