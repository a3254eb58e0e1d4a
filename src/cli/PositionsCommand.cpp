#include "cli/Commands.h"

namespace orbivex::cli {

int RunPositions(const QStringList&, Context& context) {
    context.err << "orbivex-cli positions: not built yet\n";
    return ExitFailure;
}

} // namespace orbivex::cli
