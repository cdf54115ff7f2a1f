#pragma once

// What OCR (tesseract) reads in a shot of the Qt windows, for the tests that read them back.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

#include "ocr_picture.h"

namespace kalvena::ui::test {

// What OCR (tesseract) reads in a shot, in a language ("eng", "bul"), told nothing of what
// to expect.
inline std::string ocrRead(const kalvena::test::GreyShot& shot,
                           const std::string& language = "eng") {
  std::string read;
  for (const kalvena::test::OcrAttempt& attempt : kalvena::test::ocrAttempts(shot, language)) {
    QTemporaryDir dir;
    const std::string base = dir.filePath(QStringLiteral("box")).toStdString();
    QFile picture(QString::fromStdString(base + ".pgm"));
    const std::string pgm = kalvena::test::ocrPicture(shot, attempt.copies);
    if (!picture.open(QIODevice::WriteOnly) ||
        picture.write(pgm.data(), std::ssize(pgm)) != std::ssize(pgm)) {
      ADD_FAILURE() << "cannot write " << base;
      return {};
    }
    picture.close();
    QProcess tesseract;
    tesseract.start(QStringLiteral("sh"),
                    {QStringLiteral("-c"), QString::fromStdString(kalvena::test::tesseractCommand(
                                               base, attempt, language))});
    QFile answer(QString::fromStdString(base + ".txt"));
    if (!tesseract.waitForFinished(60000) || !answer.open(QIODevice::ReadOnly)) {
      ADD_FAILURE() << "tesseract gave no answer: "
                    << tesseract.readAllStandardError().toStdString();
      return {};
    }
    read = kalvena::test::cleanedAnswer(answer.readAll().toStdString(), attempt, language);
    if (!read.empty()) break;
  }
  return read;
}

}  // namespace kalvena::ui::test
