#include "services/ui/controls/UI_MultiColumnTree.h"

#include "services/ui/events/KeyboardEvent.h"
#include "services/ui/node/UI_NodeManager.h"
#include "services/ui/qt/Convert.h"
#include "services/ui/qt/ImageImpl.h"
#include "services/ui/qt/KeyMap.h"
#include "services/ui/qt/NativeControl.h"
#include "services/ui/qt/NodeImpl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPixmap>
#include <QTreeWidget>

#include <algorithm>

namespace kivui {
namespace {
constexpr int kIdRole = Qt::UserRole + 1;

// Tells the control when a drag of its own rows has been dropped.
class DropReportingTree : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;
  std::function<void()> dropped;

 protected:
  void dropEvent(QDropEvent* event) override {
    QTreeWidget::dropEvent(event);
    if (dropped) dropped();
  }
};
}  // namespace

struct UI_MultiColumnTree::Private {
  QTreeWidget* tree = nullptr;
  bool filling = false;

  QTreeWidgetItem* Find(int id) const {
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
      if ((*it)->data(0, kIdRole).toInt() == id) return *it;
    }
    return nullptr;
  }

  void Add(QTreeWidgetItem* item, const UI_MultiColumnTreeRow& row) {
    item->setData(0, kIdRole, row.id);
    for (std::size_t c = 0; c < row.cells.size(); ++c) item->setText(int(c), qt::ToQString(row.cells[c]));
    if (!row.icon.IsNull()) item->setIcon(0, QIcon(QPixmap::fromImage(row.icon.GetImpl()->image)));
    Qt::ItemFlags flags = item->flags() | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    if (row.editable) flags |= Qt::ItemIsEditable;
    if (!row.selectable) flags &= ~Qt::ItemIsSelectable;
    if (!row.movable) flags &= ~Qt::ItemIsDragEnabled;
    if (!row.acceptsChildren) flags &= ~Qt::ItemIsDropEnabled;
    item->setFlags(flags);
    for (const auto& child : row.children) Add(new QTreeWidgetItem(item), child);
    item->setExpanded(row.expanded);
  }

};

UI_MultiColumnTree::UI_MultiColumnTree()
    : UI_NativeControl("UI_MultiColumnTree", true), d_(std::make_unique<Private>()) {
  auto* tree = new DropReportingTree(qt::WidgetOf(*this));
  d_->tree = tree;
  tree->setRootIsDecorated(true);
  tree->setAlternatingRowColors(true);
  tree->setUniformRowHeights(true);
  tree->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  tree->dropped = [this] {
    if (onRowsMoved) onRowsMoved();
  };
  GetHosted().Host(tree);
  QObject::connect(tree, &QTreeWidget::itemSelectionChanged, [this] {
    if (!d_->filling && onSelectionChange) onSelectionChange(GetSelectedRowIDs());
  });
  QObject::connect(tree, &QTreeWidget::itemDoubleClicked, [this](QTreeWidgetItem* item, int) {
    if (onRowDoubleClicked) onRowDoubleClicked(item->data(0, kIdRole).toInt());
  });
  QObject::connect(tree, &QTreeWidget::itemChanged, [this](QTreeWidgetItem* item, int column) {
    if (!d_->filling && column == 0 && onRowRenamed) {
      onRowRenamed(item->data(0, kIdRole).toInt(), qt::ToUTF8(item->text(0)));
    }
  });
}

UI_MultiColumnTree::~UI_MultiColumnTree() = default;

void UI_MultiColumnTree::SetColumns(const std::vector<Column>& columns) {
  QStringList titles;
  for (const auto& c : columns) titles << qt::ToQString(c.title);
  d_->tree->setColumnCount(int(columns.size()));
  d_->tree->setHeaderLabels(titles);
  for (std::size_t i = 0; i < columns.size(); ++i) d_->tree->setColumnWidth(int(i), columns[i].width);
}

void UI_MultiColumnTree::SetRows(const std::vector<UI_MultiColumnTreeRow>& rows) {
  d_->filling = true;
  d_->tree->clear();
  for (const auto& row : rows) d_->Add(new QTreeWidgetItem(d_->tree), row);
  d_->filling = false;
}

int UI_MultiColumnTree::GetRowCount() const { return d_->tree->topLevelItemCount(); }

std::string UI_MultiColumnTree::GetRowText(int id, int column) const {
  QTreeWidgetItem* item = d_->Find(id);
  return item ? qt::ToUTF8(item->text(column)) : std::string();
}

std::vector<int> UI_MultiColumnTree::GetRowIDsInOrder() const {
  std::vector<int> ids;
  for (QTreeWidgetItemIterator it(d_->tree); *it; ++it) ids.push_back((*it)->data(0, kIdRole).toInt());
  return ids;
}

void UI_MultiColumnTree::SelectRow(int id) {
  QTreeWidgetItem* item = id < 0 ? nullptr : d_->Find(id);
  d_->tree->clearSelection();
  if (item) {
    d_->tree->setCurrentItem(item);
    item->setSelected(true);
  }
}

std::vector<int> UI_MultiColumnTree::GetSelectedRowIDs() const {
  std::vector<int> ids;
  for (QTreeWidgetItemIterator it(d_->tree, QTreeWidgetItemIterator::Selected); *it; ++it) {
    ids.push_back((*it)->data(0, kIdRole).toInt());
  }
  return ids;
}

void UI_MultiColumnTree::SetMultiSelection(bool multi) {
  d_->tree->setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                                   : QAbstractItemView::SingleSelection);
}

void UI_MultiColumnTree::SetRowText(int id, const std::string& text, int column) {
  if (QTreeWidgetItem* item = d_->Find(id)) {
    d_->filling = true;
    item->setText(column, qt::ToQString(text));
    d_->filling = false;
  }
}

void UI_MultiColumnTree::RemoveRow(int id) { delete d_->Find(id); }

bool UI_MultiColumnTree::IsRowExpanded(int id) const {
  const QTreeWidgetItem* item = d_->Find(id);
  return item && item->isExpanded();
}

void UI_MultiColumnTree::SetRowExpanded(int id, bool expanded) {
  if (QTreeWidgetItem* item = d_->Find(id)) item->setExpanded(expanded);
}

kivcore::RectF UI_MultiColumnTree::GetRowRect(int id) const {
  QTreeWidgetItem* item = d_->Find(id);
  if (!item) return {};
  const QRect r = d_->tree->visualItemRect(item);
  const QPoint topLeft = d_->tree->viewport()->mapTo(qt::WidgetOf(*this), r.topLeft());
  return {float(topLeft.x()), float(topLeft.y()), float(r.width()), float(r.height())};
}

std::vector<int> UI_MultiColumnTree::GetChildRowIDs(int parentId) const {
  QTreeWidgetItem* parent = parentId < 0 ? d_->tree->invisibleRootItem() : d_->Find(parentId);
  std::vector<int> ids;
  for (int i = 0; parent && i < parent->childCount(); ++i) ids.push_back(parent->child(i)->data(0, kIdRole).toInt());
  return ids;
}

void UI_MultiColumnTree::SetRowsMovable(bool movable) {
  QTreeWidget* tree = d_->tree;
  tree->setDragDropMode(movable ? QAbstractItemView::InternalMove : QAbstractItemView::NoDragDrop);
  tree->setDefaultDropAction(Qt::MoveAction);
  tree->setDropIndicatorShown(movable);
  // Rows are dropped into the rows that accept them, never beside the top-level rows.
  QTreeWidgetItem* root = tree->invisibleRootItem();
  root->setFlags(root->flags() & ~Qt::ItemIsDropEnabled);
}

bool UI_MultiColumnTree::MoveRow(int id, int parentId, int index) {
  QTreeWidgetItem* item = d_->Find(id);
  QTreeWidgetItem* parent = parentId < 0 ? d_->tree->invisibleRootItem() : d_->Find(parentId);
  if (!item || !parent || !(item->flags() & Qt::ItemIsDragEnabled) || !(parent->flags() & Qt::ItemIsDropEnabled)) return false;
  const bool selected = item->isSelected();
  QTreeWidgetItem* from = item->parent() ? item->parent() : d_->tree->invisibleRootItem();
  const int oldIndex = from->indexOfChild(item);
  from->takeChild(oldIndex);
  parent->insertChild(std::clamp(index, 0, parent->childCount()), item);
  item->setSelected(selected);
  return true;
}

void UI_MultiColumnTree::EditRow(int id) {
  if (QTreeWidgetItem* item = d_->Find(id)) d_->tree->editItem(item, 0);
}

}  // namespace kivui
