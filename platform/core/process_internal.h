// platform/core/process_internal.h - process records shared by the core and
// the backends. Not for the engine.
#pragma once

namespace ovPlatform::detail {

void ResetProcessState();
// Releases every named lock still held (ovPlatform::Stop, process exit).
void ReleaseAllNamedLocks();
// A backend's create() explains why it cannot run; the text must outlive the call.
void SetStartFailureReason(const char* reason);
const char* StartFailureReason();

}  // namespace ovPlatform::detail
