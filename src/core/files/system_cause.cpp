#include "core/files/system_cause.h"

#include <QFileDevice>
#include <QFileInfo>

#include <cerrno>

namespace mirkano {

QString systemCause(int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return QStringLiteral("権限がありません");
    case EROFS:
        return QStringLiteral("読み取り専用の場所です");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクがいっぱいです");
    case EFBIG:
        return QStringLiteral("ファイルの大きさが書き込める上限を超えました");
    case ENOENT:
        return QStringLiteral("ファイルまたはフォルダーがありません");
    case ENOTDIR:
        return QStringLiteral("パスの途中にフォルダーではないものがあります");
    case EISDIR:
        return QStringLiteral("ファイルではなくフォルダーです");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが循環しています");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名またはパスが長すぎます");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("使用中です");
    case EIO:
        return QStringLiteral("ディスクまたは装置の入出力エラーです");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("開いているファイルが多すぎます");
    case ENOMEM:
        return QStringLiteral("メモリが不足しています");
    case EPIPE:
        return QStringLiteral("出力先のパイプが閉じられています");
    case EBADF:
        return QStringLiteral("出力先が閉じられています");
    case EEXIST:
        return QStringLiteral("同じ名前のファイルがすでにあります");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("装置がありません");
    case EXDEV:
        return QStringLiteral("別のドライブへは移せません");
    case EAGAIN:
        return QStringLiteral("一時的に使えません");
    case EINVAL:
        return QStringLiteral("この種類のファイルには使えない操作です");
    default:
        return QStringLiteral("システムのエラー %1").arg(err);
    }
}

QString readCause(int err)
{
    switch (err) {
    case 0:
        return QStringLiteral("開くことができません");
    case ENOENT:
        return QStringLiteral("ファイルがありません");
    case EACCES:
    case EPERM:
        return QStringLiteral("読み取る権限がありません");
    default:
        return systemCause(err);
    }
}

int fileErrno(const QFileDevice& file)
{
    if (file.error() == QFileDevice::NoError)
        return 0;
    // Qt words a system error with qt_error_string(errno); the same text for
    // the same number, in the same process and locale.
    const QString text = file.errorString();
    for (int err = 1; err < 200; ++err)
        if (text == qt_error_string(err))
            return err;
    return 0;
}

QString fileErrorCause(const QFileDevice& file)
{
    if (const int err = fileErrno(file))
        return systemCause(err);
    // Qt's own texts ("Existing file … is not writable" and the like): the
    // cause is read off the file itself.
    const QFileInfo info(file.fileName());
    const bool writing = file.error() == QFileDevice::WriteError || file.error() == QFileDevice::OpenError;
    if (info.isDir())
        return systemCause(EISDIR);
    if (writing && info.exists() && !info.isWritable())
        return QStringLiteral("書き込む権限がありません");
    switch (file.error()) {
    case QFileDevice::ReadError:
        return QStringLiteral("読み取り中にエラーが起きました");
    case QFileDevice::WriteError:
        return QStringLiteral("書き込み中にエラーが起きました");
    case QFileDevice::ResourceError:
        return QStringLiteral("ディスクの空きやメモリが足りません");
    case QFileDevice::OpenError:
        return QStringLiteral("開くことができません");
    case QFileDevice::RenameError:
        return QStringLiteral("名前を変えられません");
    case QFileDevice::PermissionsError:
        return QStringLiteral("権限を変えられません");
    case QFileDevice::AbortError:
        return QStringLiteral("中止しました");
    case QFileDevice::TimeOutError:
        return QStringLiteral("時間切れになりました");
    default:
        return QStringLiteral("ファイルを扱えません");
    }
}

}  // namespace mirkano
