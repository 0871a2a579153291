// Exit status of glyfora-convert, shared by the single run and the batch.
#pragma once

namespace mGlyfora {

enum ConvertToolExit { ToolSuccess = 0, ToolFailure = 1, ToolUsageError = 2 };

} // namespace mGlyfora
