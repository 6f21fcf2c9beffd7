#include "BackupName.h"

namespace ornis {

QString backupStamp(const LocalDateTime &when)
{
    return QString::asprintf("%04d-%02d-%02d_%02d-%02d-%02d", when.year, when.month, when.day,
        when.hour, when.minute, when.second);
}

} // namespace ornis
