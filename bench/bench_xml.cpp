// Reads and writes a scene-shaped document of more than 50 MB with our tree reader and writer and
// with pugixml, then prints the throughput of each and our ratio to pugixml.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "xml/XMLNodes.h"
#include "xml/XMLTreeReader.h"

namespace {

using namespace NuvoraXML;

// Many small elements with attributes and numbers as text, and a few large data sections.
std::string makeSceneDocument()
{
    std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?Scn.Version 3.0.3?>\n<Scn.File>\n";
    char line[512];
    for (int i = 0; doc.size() < 44u * 1024 * 1024; ++i) {
        std::snprintf(line, sizeof(line),
                      "\t<Material\n\t\t Name=\"Material %d\"\n\t\t UUID=\"%08X%08X%08X%08X\">\n"
                      "\t\t<Color R=\"%d\" G=\"%d\" B=\"%d\"/>\n\t\t<Reflection>%f</Reflection>\n"
                      "\t\t<Transparency>%f</Transparency>\n\t\t<Texture.Scale X=\"%f\" Y=\"%f\" Z=\"1.000000\"/>\n"
                      "\t\t<Smooth.Flag/>\n\t\t<Texture en=\"wood &amp; stone %d\"/>\n\t</Material>\n",
                      i, i * 2654435761u, i ^ 0x5bd1e995, i * 40503u, ~i, i % 256, (i * 7) % 256, (i * 13) % 256,
                      (i % 1000) / 1000.0, (i % 37) / 37.0, 1.0 + i % 5, 2.0 + i % 3, i);
        doc += line;
    }
    for (int block = 0; block < 3; ++block) {
        doc += "\t<Object>\n\t\t<Points><![CDATA[\n";
        for (int i = 0; doc.size() < (44u + 2u * (block + 1)) * 1024 * 1024; ++i) {
            std::snprintf(line, sizeof(line), "%d.%d %d.25 -%d.5 \n", i, i % 10, i % 1000, i % 77);
            doc += line;
        }
        doc += "]]>\n\t\t</Points>\n\t</Object>\n";
    }
    doc += "</Scn.File>\n";
    return doc;
}

const std::string& document()
{
    static const std::string doc = makeSceneDocument();
    return doc;
}

class MemoryReadStream : public CXMLReadStream {
public:
    explicit MemoryReadStream(const std::string& bytes) : mBytes(bytes) {}
    int32_t Read(void* buffer, int32_t length) override
    {
        size_t count = mBytes.size() - mPos < static_cast<size_t>(length) ? mBytes.size() - mPos : static_cast<size_t>(length);
        std::memcpy(buffer, mBytes.data() + mPos, count);
        mPos += count;
        return static_cast<int32_t>(count);
    }

private:
    const std::string& mBytes;
    size_t mPos = 0;
};

class CountingWriteStream : public XIXMLWriteStream {
public:
    int32_t Write(const void*, int32_t length) override
    {
        total += static_cast<size_t>(length);
        return length;
    }
    size_t total = 0;
};

class CountingPugiWriter : public pugi::xml_writer {
public:
    void write(const void*, size_t size) override { total += size; }
    size_t total = 0;
};

void BM_OurTreeReader(benchmark::State& state)
{
    const std::string& doc = document();
    for (auto _ : state) {
        MemoryReadStream stream(doc);
        CXMLTreeReader reader;
        std::unique_ptr<XCXMLTree> tree(reader.Read(&stream));
        benchmark::DoNotOptimize(tree.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(doc.size()));
}

void BM_PugixmlParse(benchmark::State& state)
{
    const std::string& doc = document();
    for (auto _ : state) {
        pugi::xml_document parsed;
        pugi::xml_parse_result result = parsed.load_buffer(doc.data(), doc.size());
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(doc.size()));
}

void BM_OurWriter(benchmark::State& state)
{
    MemoryReadStream stream(document());
    CXMLTreeReader reader;
    std::unique_ptr<XCXMLTree> tree(reader.Read(&stream));
    size_t written = 0;
    for (auto _ : state) {
        CountingWriteStream out;
        tree->GetRoot()->Write(&out);
        written = out.total;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(written));
}

void BM_PugixmlSave(benchmark::State& state)
{
    pugi::xml_document parsed;
    parsed.load_buffer(document().data(), document().size());
    size_t written = 0;
    for (auto _ : state) {
        CountingPugiWriter out;
        parsed.save(out, "\t");
        written = out.total;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(written));
}

BENCHMARK(BM_OurTreeReader)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OurWriter)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PugixmlSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps the throughput of every run besides printing it.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            auto found = run.counters.find("bytes_per_second");
            if (found != run.counters.end()) {
                mbPerSecond[run.benchmark_name()] = found->second.value / (1024.0 * 1024.0);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> mbPerSecond;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::printf("document: %.1f MB\n", document().size() / (1024.0 * 1024.0));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto report = [&](const char* what, const char* ours, const char* theirs) {
        auto a = reporter.mbPerSecond.find(ours);
        auto b = reporter.mbPerSecond.find(theirs);
        if (a != reporter.mbPerSecond.end() && b != reporter.mbPerSecond.end()) {
            std::printf("%s: ours %.0f MB/s, pugixml %.0f MB/s, ratio %.2f\n", what, a->second, b->second,
                        a->second / b->second);
        }
    };
    report("read", "BM_OurTreeReader/min_time:2.000", "BM_PugixmlParse/min_time:2.000");
    report("write", "BM_OurWriter/min_time:2.000", "BM_PugixmlSave/min_time:2.000");
    return 0;
}
