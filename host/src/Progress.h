// The progress window of the host as a person at a terminal sees it, and its Cancel button.
#ifndef CADHOST_PROGRESS_H
#define CADHOST_PROGRESS_H

#include <cstdint>
#include <string>

namespace cadhost {

void progressOpened(const std::string& title, int32_t phases);
void progressPhase(const std::string& text, int32_t maximum);
void progressValue(int32_t value);
void progressClosed();
// Whether the user pressed Cancel since the project was reset.
bool cancelPressed();
void resetCancel();

}  // namespace cadhost

#endif
