#pragma once
// The four sheets of the prediction window 一発ミルカノ予想 for the game of
// the tables, a column per main number of the game: the period
// methods, the elimination, the multiple and the single prediction. Each
// call builds them whole from the tables and the predictions, so a sheet
// never keeps a number from an earlier computation.

#include "core/predict/prediction.h"
#include "core/sheet/sheet.h"

#include <QString>

#include <array>

namespace mirkano {

inline const QString kPredictionCaption = QStringLiteral("一発ミルカノ予想");
inline constexpr int kPredictionSheetCount = 4;

using PredictionSheets = std::array<Sheet, kPredictionSheetCount>;

PredictionSheets buildPredictionSheets(const PeriodTables& tables, const Predictions& predictions);

}  // namespace mirkano
