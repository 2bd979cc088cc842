// Reads and writes a scene-shaped document of more than 50 MB with our tree reader and writer and
// with pugixml, in turns, then prints the throughput of each and our ratio to pugixml.
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "xml/XMLNodes.h"
#include "xml/XMLTreeReader.h"

namespace {

using namespace NuvoraXML;

constexpr int kRuns = 11;

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

// Processor time of the calling thread, in seconds: a busy machine slows every case alike
// instead of the one that runs while it is busy.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

size_t readWithOurs(const std::string& doc)
{
    MemoryReadStream stream(doc);
    CXMLTreeReader reader;
    std::unique_ptr<XCXMLTree> tree(reader.Read(&stream));
    return tree->GetRoot()->CountElements();
}

size_t readWithPugixml(const std::string& doc)
{
    pugi::xml_document parsed;
    pugi::xml_parse_result result = parsed.load_buffer(doc.data(), doc.size());
    return result ? 1 : 0;
}

}  // namespace

int main()
{
    const std::string& doc = document();
    std::printf("document: %.1f MB; processor seconds of each case, median of %d runs taken in turns\n",
                doc.size() / (1024.0 * 1024.0), kRuns);
    std::vector<double> ourReads;
    std::vector<double> pugiReads;
    for (int run = 0; run < kRuns; ++run) {
        double start = threadSeconds();
        size_t ours = readWithOurs(doc);
        double middle = threadSeconds();
        size_t theirs = readWithPugixml(doc);
        double end = threadSeconds();
        if (ours == 0 || theirs == 0) {
            std::fprintf(stderr, "a reader failed\n");
            return 1;
        }
        ourReads.push_back(middle - start);
        pugiReads.push_back(end - middle);
    }

    MemoryReadStream stream(doc);
    CXMLTreeReader reader;
    std::unique_ptr<XCXMLTree> tree(reader.Read(&stream));
    pugi::xml_document parsed;
    parsed.load_buffer(doc.data(), doc.size());
    std::vector<double> ourWrites;
    std::vector<double> pugiWrites;
    size_t ourBytes = 0;
    size_t pugiBytes = 0;
    for (int run = 0; run < kRuns; ++run) {
        CountingWriteStream out;
        CountingPugiWriter pugiOut;
        double start = threadSeconds();
        tree->GetRoot()->Write(&out);
        double middle = threadSeconds();
        parsed.save(pugiOut, "\t");
        double end = threadSeconds();
        ourWrites.push_back(middle - start);
        pugiWrites.push_back(end - middle);
        ourBytes = out.total;
        pugiBytes = pugiOut.total;
    }

    double megabytes = doc.size() / (1024.0 * 1024.0);
    auto report = [](const char* what, double oursMb, double oursSeconds, double theirsMb, double theirsSeconds) {
        std::printf("%s: ours %.0f MB/s, pugixml %.0f MB/s, ratio %.2f\n", what, oursMb / oursSeconds,
                    theirsMb / theirsSeconds, (oursMb / oursSeconds) / (theirsMb / theirsSeconds));
    };
    report("read (tree reader against load_buffer)", megabytes, median(ourReads), megabytes, median(pugiReads));
    report("write (tree against save)", ourBytes / (1024.0 * 1024.0), median(ourWrites), pugiBytes / (1024.0 * 1024.0),
           median(pugiWrites));
    return 0;
}
