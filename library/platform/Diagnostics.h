// The diagnostic sink of the XML toolkit: non-fatal faults and notices as (level, text).
#ifndef NUVORA_DIAGNOSTICS_H
#define NUVORA_DIAGNOSTICS_H

namespace Nuvora {

// Level of a fault (destructor problems, liveness guard, reference-count misuse).
constexpr int kDiagnosticFault = 0;
// Level of a notice ("Double grow needed").
constexpr int kDiagnosticNotice = 1;

// Receives a diagnostic; exceptions it throws are swallowed.
using DiagnosticSink = void (*)(void* context, int level, const char* text);

// Installs the sink of the calling thread (null removes it).
void setThreadDiagnosticSink(DiagnosticSink sink, void* context);
// Installs the process-wide sink used by threads without one (null removes it).
void setProcessDiagnosticSink(DiagnosticSink sink, void* context);
// Hands the diagnostic to the thread's sink, else the process sink, else drops it.
void reportDiagnostic(int level, const char* text);

}  // namespace Nuvora

#endif
