#include "workbook/uno/LibreOfficeEngine.h"

#include <com/sun/star/util/XCloseable.hpp>

#include <map>

#include "module1/Fault.h"
#include "workbook/file/PhysicalPath.h"
#include "workbook/uno/CalcWorkbook.h"
#include "workbook/uno/DocumentBinding.h"
#include "workbook/uno/DocumentStore.h"
#include "workbook/uno/OfficeConnection.h"
#include "workbook/uno/OfficeFault.h"

namespace vk {

using css::uno::Reference;

struct LibreOfficeEngine::State {
  LibreOfficeOptions options;
  std::shared_ptr<OfficeConnection> office;
  std::map<std::string, std::weak_ptr<CalcWorkbook>> books;  // by physical path
  std::vector<Reference<css::frame::XModel>> loadedHere;
  // As a transaction, a document loaded here is this engine's until it is
  // closed: binding it again gives its workbook, never a refusal.
  std::vector<std::shared_ptr<CalcWorkbook>> heldUntilClosed;

  // Loads `file`, or finds it open (unless `refuseOpen`), and makes its
  // workbook, bound by `path` and known by `key` from now on.
  std::shared_ptr<CalcWorkbook> open(const std::string& path, const std::string& file, const std::string& key,
                                     bool refuseOpen, std::optional<StoreTarget> store) {
    if (!office || !office->alive()) office = std::make_shared<OfficeConnection>(options);
    BoundDocument bound = officeCall([&] { return "open the workbook " + file; },
                                     [&] { return bindDocument(*office, file, options.loadHidden, refuseOpen); });
    if (bound.loadedHere) loadedHere.push_back(bound.model);
    auto book = std::make_shared<CalcWorkbook>(office, bound.model, bound.url, path, options, std::move(store));
    books[key] = book;
    if (options.asTransaction && bound.loadedHere) heldUntilClosed.push_back(book);
    return book;
  }
};

LibreOfficeEngine::LibreOfficeEngine(LibreOfficeOptions options) : state_(std::make_unique<State>()) {
  state_->options = std::move(options);
}

LibreOfficeEngine::~LibreOfficeEngine() = default;

std::shared_ptr<Workbook> LibreOfficeEngine::bind(const std::string& path) {
  if (path.empty()) throw Fault(FaultKind::Workbook, "no workbook file was named");
  const std::string file = physicalPath(path);
  if (auto it = state_->books.find(file); it != state_->books.end())
    if (auto book = it->second.lock(); book && book->alive()) return book;
  // The version stored over is the one there before LibreOffice reads it.
  std::optional<StoreTarget> store;
  if (state_->options.asTransaction) store = storeTarget(file, file);
  return state_->open(path, file, file, state_->options.asTransaction, std::move(store));
}

std::shared_ptr<Workbook> LibreOfficeEngine::bindCopy(const std::string& path, const std::string& copy) {
  const std::string source = physicalPath(path), target = physicalPath(copy);
  return state_->open(copy, source, target, true, storeTarget(target, source));
}

void LibreOfficeEngine::closeDocumentsLoadedHere() {
  for (const auto& model : state_->loadedHere) {
    try {
      Reference<css::util::XCloseable> closeable(model, css::uno::UNO_QUERY);
      if (closeable.is()) closeable->close(true);
    } catch (const css::uno::Exception&) {
      // Already closed by the user, or LibreOffice has ended: nothing to close.
    }
  }
  state_->loadedHere.clear();
  state_->heldUntilClosed.clear();
  state_->books.clear();
}

void LibreOfficeEngine::finishUnattended() {
  closeDocumentsLoadedHere();
  if (state_->office) state_->office->endOfficeIfStartedHereAndIdle();
}

}  // namespace vk
