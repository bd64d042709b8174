#include "platform/linux/OomScore.h"

#include <QFile>

namespace platform {

bool VolunteerForOomKill(const QString& procDir)
{
    QFile file(procDir + QStringLiteral("/self/oom_score_adj"));
    return file.open(QIODevice::WriteOnly) && file.write("1000\n") == 5;
}

}  // namespace platform
