#include "forms/DirList.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace vk {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndentPixels = 8;

// Shifts every entry right by its depth below the root.
class IndentDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem indented(option);
    indented.rect.setLeft(option.rect.left() + kIndentPixels * index.data(kDepthRole).toInt());
    QStyledItemDelegate::paint(painter, indented, index);
  }
};

bool readable(const QString& path) {
  const QFileInfo info(path);
  return info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace

DirList::DirList(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new IndentDelegate(this));
  setPath(QDir::currentPath());
  connect(this, &QListWidget::itemDoubleClicked, this, &DirList::enter);
}

bool DirList::setPath(const QString& path) {
  const QString cleaned = QDir::cleanPath(QDir(path).absolutePath());
  if (!readable(cleaned)) return false;
  const bool changed = cleaned != path_;
  path_ = cleaned;
  list();
  if (changed) emit change();
  return true;
}

void DirList::list() {
  clear();
  const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
  const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
  auto add = [&](const QString& name, const QString& full, int depth, const QIcon& icon) {
    auto* item = new QListWidgetItem(icon, name, this);
    item->setData(kPathRole, full);
    item->setData(kDepthRole, depth);
    return item;
  };

  add("/", "/", 0, open);
  const QStringList parts = path_.split('/', Qt::SkipEmptyParts);
  QString full;
  for (int k = 0; k < parts.size(); ++k) {
    full += '/' + parts[k];
    add(parts[k], full, k + 1, open);
  }
  setCurrentRow(count() - 1);

  const QDir current(path_);
  for (const QString& name : current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
    add(name, current.filePath(name), int(parts.size()) + 1, closed);
}

void DirList::enter(QListWidgetItem* item) {
  if (!item) return;
  const QString target = item->data(kPathRole).toString();
  if (!setPath(target)) emit cannotEnter(target);
}

void DirList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    enter(currentItem());
    return;
  }
  QListWidget::keyPressEvent(event);
}

}  // namespace vk
