#include "exchange_folder.h"

#include <QFileInfo>

namespace platform {

// A Windows program folder belongs to the user who unpacked it: the exchange
// files stay in its tools folder.
ExchangeFolder exchangeFolder(const PathRendering &r, const QString &programFolder)
{
    const QString tools = toolsFolder(r, programFolder);
    const QFileInfo info(tools);
    return {tools, info.isDir() && info.isWritable()};
}

} // namespace platform
