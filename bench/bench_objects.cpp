// Saves and loads a scene of 100,000 object instances of 100 definitions, side by side with a
// document of lights only of about the same size, in memory, and compares their speed per byte.
// Times are the median of five runs of each; the objects should go at no less than half the speed
// of the lights, per byte.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Scn.h"

namespace {

using namespace NvScn;

constexpr int32_t kDefinitions = 100;
constexpr int32_t kInstances = 100000;
constexpr int kRuns = 5;

// A stream over a string in memory.
class MemoryStream : public CScnStream {
public:
    explicit MemoryStream(std::string bytes = std::string()) : mBytes(std::move(bytes)) {}
    bool getName(char*, int32_t) override { return false; }
    CScnStream* openSecondaryStream(const char*, int32_t) override { return nullptr; }
    void release() override {}
    void setTypeInfo(uint32_t, uint32_t) override {}
    int32_t read(void* buffer, int32_t size) override
    {
        size_t count = std::min(static_cast<size_t>(size), mBytes.size() - mPosition);
        std::memcpy(buffer, mBytes.data() + mPosition, count);
        mPosition += count;
        return static_cast<int32_t>(count);
    }
    void write(const void* buffer, int32_t size) override { mBytes.append(static_cast<const char*>(buffer), size); }
    int64_t getPosition() override { return static_cast<int64_t>(mPosition); }
    void setPosition(int64_t position) override { mPosition = static_cast<size_t>(position); }

    const std::string& bytes() const { return mBytes; }

private:
    std::string mBytes;
    size_t mPosition = 0;
};

class Feedback : public CScnFeedback {
public:
    void warning(CScnMgr*, const char* text) override
    {
        if (++mCount <= 5) {
            std::fprintf(stderr, "warning: %s\n", text);
        }
    }
    bool progress(CScnMgr*, int32_t, int32_t) override { return true; }

private:
    int mCount = 0;
};

// The scene of objects: definitions with a small box each, instances placed on a grid, on two
// layers, every one with its own translation, rotation and scale.
void fillObjects(CScnMgr* scene)
{
    IScnLayer* layers[2] = {scene->getLayers()->newScnObject(kScnLastIndex),
                            scene->getLayers()->newScnObject(kScnLastIndex)};
    std::vector<CScnUUID> definitions;
    for (int32_t d = 0; d < kDefinitions; ++d) {
        IScnScnObjectDefinition* definition = scene->getObjectDefinitions()->newScnObject(kScnLastIndex);
        definition->setClass(kScnClassScnObject);
        definition->getName()->setText('e' * 256 + 'n', ("Object " + std::to_string(d)).c_str());
        IScnInternalComponentDefinition* geometry =
            scene->getInternalComponentDefinitions()->newScnObject(kScnLastIndex);
        geometry->setUUID(definition->getUUID());
        for (int32_t i = 0; i < 8; ++i) {
            *geometry->getPoints()->newScnObject(kScnLastIndex) = {(i & 1) * 50.0, (i & 2) * 25.0, (i & 4) * 10.0};
        }
        TScnObjectMgr<CScnVertex>* face = geometry->getPolygons()->newScnObject(kScnLastIndex)->getVertices();
        for (int32_t corner : {0, 1, 3, 2}) {
            face->newScnObject(kScnLastIndex)->pointIndex = corner;
        }
        definitions.push_back(*definition->getUUID());
    }
    for (int32_t i = 0; i < kInstances; ++i) {
        IScnObjectInstance* instance = scene->getObjectInstances()->newScnObject(kScnLastIndex);
        instance->setName(("Instance " + std::to_string(i)).c_str());
        instance->setClass(kScnClassScnObject);
        instance->setAttachedObject(&definitions[static_cast<size_t>(i % kDefinitions)]);
        CScnVector at = {(i % 317) * 120.5, (i / 317) * 80.25, 0.0};
        CScnVector turn = {0.0, 0.0, (i % 360) * 0.5};
        CScnVector scale = {1.0 + (i % 7) * 0.125, 1.0, 1.0};
        instance->setTranslation(&at);
        instance->setRotation(&turn);
        instance->setScale(&scale);
        instance->setLayerId(layers[i % 2]->getUUID());
    }
}

void fillLights(CScnMgr* scene, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        CScnLight* light = scene->getLights()->newScnObject(kScnLastIndex);
        light->setName(("Light " + std::to_string(i)).c_str());
        CScnVector at = {(i % 317) * 120.5, (i / 317) * 80.25, 250.0};
        light->setPosition(&at);
        light->setPower(100.0 + i % 900);
    }
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double secondsOf(const std::function<void()>& work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Figures {
    size_t bytes = 0;
    double save = 0;
    double load = 0;
};

// Saves the filled scene kRuns times and loads the document kRuns times.
Figures measure(const std::function<void(CScnMgr*)>& fill)
{
    Feedback feedback;
    CScnMgr* scene = CScnMgr::create(&feedback, nullptr);
    fill(scene);
    Figures figures;
    std::vector<double> saves;
    std::string document;
    for (int run = 0; run < kRuns; ++run) {
        MemoryStream out;
        saves.push_back(secondsOf([&] {
            if (scene->write(&out) != 0) {
                std::fprintf(stderr, "the save failed\n");
            }
        }));
        document = out.bytes();
    }
    scene->release();
    std::vector<double> loads;
    for (int run = 0; run < kRuns; ++run) {
        CScnMgr* loaded = CScnMgr::create(&feedback, nullptr);
        MemoryStream in(document);
        loads.push_back(secondsOf([&] {
            if (loaded->read(&in) != 0) {
                std::fprintf(stderr, "the load failed\n");
            }
        }));
        loaded->release();
    }
    figures.bytes = document.size();
    figures.save = median(saves);
    figures.load = median(loads);
    return figures;
}

double megabytesPerSecond(size_t bytes, double seconds)
{
    return seconds > 0 ? bytes / seconds / 1e6 : 0;
}

}  // namespace

int main()
{
    Figures objects = measure(fillObjects);
    // As many lights as make a document of the same size, from the size of a smaller one.
    Figures sample = measure([](CScnMgr* scene) { fillLights(scene, 2000); });
    int32_t lights = static_cast<int32_t>(2000.0 * objects.bytes / sample.bytes);
    Figures onlyLights = measure([lights](CScnMgr* scene) { fillLights(scene, lights); });

    std::printf("%-34s %10s %10s %10s %10s %10s\n", "document", "MB", "save s", "save MB/s", "load s", "load MB/s");
    auto row = [](const char* name, const Figures& f) {
        std::printf("%-34s %10.2f %10.3f %10.1f %10.3f %10.1f\n", name, f.bytes / 1e6, f.save,
                    megabytesPerSecond(f.bytes, f.save), f.load, megabytesPerSecond(f.bytes, f.load));
    };
    row("100,000 instances of 100 objects", objects);
    std::string name = std::to_string(lights) + " lights";
    row(name.c_str(), onlyLights);
    double saveRatio = megabytesPerSecond(objects.bytes, objects.save) / megabytesPerSecond(onlyLights.bytes, onlyLights.save);
    double loadRatio = megabytesPerSecond(objects.bytes, objects.load) / megabytesPerSecond(onlyLights.bytes, onlyLights.load);
    std::printf("objects per byte against lights: save %.2fx, load %.2fx (aim: at least 0.5x)\n", saveRatio, loadRatio);
    return 0;
}
