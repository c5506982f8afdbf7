#pragma once
// What the screen tests share: carrying out the wizard's moves, finding a
// screen's controls by name, clicking as a user does, counting the screens
// that exist, checking a control against its place in the layout, and
// answering message boxes.

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <vector>

#include "forms/MessageBox.h"
#include "forms/Screen.h"
#include "forms/Twips.h"
#include "forms/Wizard.h"

namespace vk::test {

// Lets the wizard carry out the move a handler asked for.
inline void settle() {
  for (int k = 0; k < 3; ++k) QCoreApplication::processEvents();
}

template <class T = QWidget>
T* control(QWidget* screen, const char* name) {
  T* found = screen ? screen->findChild<T*>(name) : nullptr;
  if (!found) qFatal("%s has no control %s", screen ? qPrintable(screen->objectName()) : "(none)", name);
  return found;
}

inline QString caption(QWidget* screen, const char* name) {
  QWidget* c = control(screen, name);
  if (auto* label = qobject_cast<QLabel*>(c)) return label->text();
  return control<QAbstractButton>(screen, name)->text();
}

// A left click in the middle of the button, then the wizard's move.
inline void click(QWidget* screen, const char* name) {
  QTest::mouseClick(control<QPushButton>(screen, name), Qt::LeftButton);
  settle();
}

// A click on the file's line in the workbook choice's list.
inline void chooseFile(QWidget* screen, const QString& name) {
  auto* files = control<QListWidget>(screen, "filFind");
  const QList<QListWidgetItem*> found = files->findItems(name, Qt::MatchExactly);
  QVERIFY(!found.isEmpty());
  files->scrollToItem(found.front());
  QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(found.front()).center());
  settle();
}

// The screens that exist now, shown or not.
inline int screensAlive() {
  int alive = 0;
  for (QWidget* widget : QApplication::allWidgets())
    if (qobject_cast<Screen*>(widget)) ++alive;
  return alive;
}

// One tick of a screen's timer, as its interval elapsing gives it.
inline void tick(QTimer* timer) {
  QTimerEvent event(timer->timerId());
  QCoreApplication::sendEvent(timer, &event);
}

inline QRect pixelRect(TwipsRect where) {
  return {pixels(where.left), pixels(where.top), pixels(where.width), pixels(where.height)};
}

// A control as the layout gives it; a null caption is not checked.
struct Placed {
  const char* name;
  QString caption;
  TwipsRect where;
  double points;
};

inline void expectLayout(QWidget* screen, const std::vector<Placed>& controls) {
  for (const Placed& expected : controls) {
    QWidget* c = control(screen, expected.name);
    QVERIFY2(c->geometry() == pixelRect(expected.where), expected.name);
    QVERIFY2(c->font().bold() && qFuzzyCompare(c->font().pointSizeF(), expected.points), expected.name);
    if (!expected.caption.isNull()) QCOMPARE(caption(screen, expected.name), expected.caption);
  }
}

// The screen's window: caption, back colour and fixed client size.
inline void expectWindow(QWidget* screen, const char* title, QColor back, int widthTwips, int heightTwips) {
  QCOMPARE(screen->windowTitle(), QString(title));
  QCOMPARE(screen->palette().color(QPalette::Window), back);
  const QSize client(pixels(widthTwips), pixels(heightTwips));
  QCOMPARE(screen->size(), client);
  QCOMPARE(screen->minimumSize(), client);
  QCOMPARE(screen->maximumSize(), client);
}

// Answers the next message box with OK and gives what it said.
inline void answerNextBox() { MessageBox::setNextAnswer(QMessageBox::Ok); }

inline void touch(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot create %s", qPrintable(path));
}

}  // namespace vk::test
