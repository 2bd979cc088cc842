#include "Diagnostics.h"

#include <atomic>

namespace Nuvora {

namespace {

struct SinkEntry {
    DiagnosticSink sink = nullptr;
    void* context = nullptr;
};

thread_local SinkEntry tThreadSink;
// The process sink is installed at set-up time; the pair is not swapped atomically as a whole.
std::atomic<DiagnosticSink> gProcessSink{nullptr};
std::atomic<void*> gProcessContext{nullptr};

}  // namespace

void setThreadDiagnosticSink(DiagnosticSink sink, void* context)
{
    tThreadSink = SinkEntry{sink, context};
}

void setProcessDiagnosticSink(DiagnosticSink sink, void* context)
{
    gProcessContext.store(context);
    gProcessSink.store(sink);
}

void reportDiagnostic(int level, const char* text)
{
    SinkEntry entry = tThreadSink;
    if (entry.sink == nullptr) {
        entry.sink = gProcessSink.load();
        entry.context = gProcessContext.load();
    }
    if (entry.sink == nullptr) {
        return;
    }
    try {
        entry.sink(entry.context, level, text != nullptr ? text : "");
    } catch (...) {
        // A sink that throws must not disturb the destructor or check that reported.
    }
}

}  // namespace Nuvora
