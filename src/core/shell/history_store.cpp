#include "shell/history_store.h"

namespace mirkano {

const char* const kHistoryQuery = "select * from 全データ選択クエリ order by 回数";

QString defaultHistoryPath() { return {}; }
History loadHistory(const QString&) { throw HistoryError("not built yet"); }
void saveHistory(const QString&, const History&) { throw HistoryError("not built yet"); }

}  // namespace mirkano
