// velm-kalix-screenshots OUTDIR WORKBOOK: goes through one analysis of a
// copy of WORKBOOK as a user would, and saves a picture of each screen into
// OUTDIR (1-welcome.png ... 4-run.png). scripts/screenshots runs it under Xvfb.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "forms/Application.h"
#include "forms/Screen.h"
#include "forms/Wizard.h"
#include "workbook/xlsx/XlsxEngine.h"

namespace {

void settle() {
  for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
}

QWidget* screen(vk::Wizard& wizard) {
  if (!wizard.current()) throw std::runtime_error("no screen is shown");
  return wizard.current();
}

void press(vk::Wizard& wizard, const char* button) {
  auto* found = screen(wizard)->findChild<QAbstractButton*>(button);
  if (!found || !found->isVisible() || !found->isEnabled())
    throw std::runtime_error(std::string(button) + " cannot be clicked on " +
                             screen(wizard)->objectName().toStdString());
  found->click();
  settle();
}

void chooseFile(vk::Wizard& wizard, const QString& name) {
  auto* files = screen(wizard)->findChild<QListWidget*>("filFind");
  const QList<QListWidgetItem*> found = files->findItems(name, Qt::MatchExactly);
  if (found.isEmpty()) throw std::runtime_error("the file list does not show " + name.toStdString());
  files->setCurrentItem(found.front());
  emit files->itemClicked(found.front());
  settle();
}

void save(vk::Wizard& wizard, const QString& directory, const char* name) {
  const QString path = QDir(directory).filePath(name);
  if (!screen(wizard)->grab().save(path)) throw std::runtime_error("cannot write " + path.toStdString());
  std::printf("%s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  vk::describeApplication();
  if (argc != 3) {
    std::fprintf(stderr, "usage: velm-kalix-screenshots OUTDIR WORKBOOK\n");
    return 2;
  }
  const QString outDir = QDir(argv[1]).absolutePath();
  const QFileInfo workbook(QString::fromLocal8Bit(argv[2]));
  QTemporaryDir work(QDir::tempPath() + "/velm-kalix-sample-XXXXXX");
  const QString copy = work.filePath(workbook.fileName());
  if (!QDir().mkpath(outDir) || !QFile::copy(workbook.absoluteFilePath(), copy)) {
    std::fprintf(stderr, "cannot prepare %s or copy %s\n", argv[1], argv[2]);
    return 1;
  }
  QDir::setCurrent(work.path());

  try {
    vk::Wizard wizard(std::make_shared<vk::XlsxEngine>());
    wizard.start();
    settle();
    save(wizard, outDir, "1-welcome.png");
    press(wizard, "cmdNext");
    chooseFile(wizard, workbook.fileName());
    save(wizard, outDir, "2-input.png");
    press(wizard, "SSCommand1");
    press(wizard, "cmdNext");
    press(wizard, "cmdRead");
    save(wizard, outDir, "3-read.png");
    press(wizard, "cmdNext");
    press(wizard, "SSCommand2");
    save(wizard, outDir, "4-run.png");
    press(wizard, "cmdBye");
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "velm-kalix-screenshots: %s\n", failure.what());
    return 1;
  }
  return 0;
}
