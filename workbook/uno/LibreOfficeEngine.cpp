#include "workbook/uno/LibreOfficeEngine.h"

#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <filesystem>
#include <map>

#include "module1/Fault.h"
#include "workbook/file/PhysicalPath.h"
#include "workbook/file/WritableFile.h"
#include "workbook/uno/CalcWorkbook.h"
#include "workbook/uno/DocumentBinding.h"
#include "workbook/uno/DocumentStore.h"
#include "workbook/uno/OfficeConnection.h"
#include "workbook/uno/OfficeFault.h"

namespace vk {

using css::uno::Reference;

namespace {

void closeQuietly(const Reference<css::frame::XModel>& model) {
  try {
    Reference<css::util::XCloseable> closeable(model, css::uno::UNO_QUERY);
    if (closeable.is()) closeable->close(true);
  } catch (const css::uno::Exception&) {
    // Already closed by the user, or LibreOffice has ended: nothing to close.
  }
}

// A document LibreOffice has open read-only takes no writes (a read-only
// file, or one the user opened for reading only): it is refused before the
// command writes anything. One loaded here for that is closed again.
void refuseReadOnly(const BoundDocument& bound, const std::string& path) {
  const bool readOnly = officeCall([&] { return "open the workbook " + path; },
                                   [&] {
                                     Reference<css::frame::XStorable> storable(bound.model, css::uno::UNO_QUERY);
                                     return storable.is() && storable->isReadonly();
                                   });
  if (!readOnly) return;
  if (bound.loadedHere) {
    closeQuietly(bound.model);
    throw Fault(FaultKind::Workbook, "LibreOffice opened the workbook " + path +
                                         " read-only; the results could not be written into it. Make the file "
                                         "writable, then try again");
  }
  throw Fault(FaultKind::Workbook, "the workbook " + path +
                                       " is open read-only in LibreOffice; the results could not be written into it. "
                                       "Open it there for editing (or close it), then open it here again");
}

}  // namespace

struct LibreOfficeEngine::State {
  LibreOfficeOptions options;
  std::shared_ptr<OfficeConnection> office;
  std::map<std::string, std::weak_ptr<CalcWorkbook>> books;  // by physical path
  std::vector<Reference<css::frame::XModel>> loadedHere;
  // As a transaction, a document loaded here is this engine's until it is
  // closed: binding it again gives its workbook, never a refusal.
  std::vector<std::shared_ptr<CalcWorkbook>> heldUntilClosed;
  std::function<void(const std::string&)> starting;

  void connect() {
    if (office && office->alive()) return;
    if (office) {
      // Everything of the lost connection goes first, or the new one would be
      // handed its dead stand-ins again.
      for (auto& [key, held] : books)
        if (auto book = held.lock()) book->letGo();
      loadedHere.clear();
      heldUntilClosed.clear();
      office.reset();
    }
    auto tell = [this] {
      if (starting) starting("LibreOffice is starting, which takes a few seconds...");
    };
    office = officeCall([] { return std::string("connect to LibreOffice"); },
                        [&] { return std::make_shared<OfficeConnection>(options, tell); });
  }

  // Loads `file`, or finds it open (unless `refuseOpen`), and makes its
  // workbook, bound by `path` and known by `key` from now on.
  std::shared_ptr<CalcWorkbook> open(const std::string& path, const std::string& file, const std::string& key,
                                     bool refuseOpen, std::optional<StoreTarget> store) {
    connect();
    BoundDocument bound = officeCall([&] { return "open the workbook " + file; },
                                     [&] { return bindDocument(*office, file, options.loadHidden, refuseOpen); });
    refuseReadOnly(bound, path);
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
    if (auto book = it->second.lock()) {
      if (book->alive()) return book;
      // Loaded anew part-way through a command, the workbook would take the
      // rest of the command's writes as the file was last saved.
      if (book->inCommand()) book->lostInCommand();
    }
  // Refused before it is loaded: LibreOffice would open it read-only.
  if (std::filesystem::is_regular_file(file) && !writableFile(file))
    throw Fault(FaultKind::Workbook, "the workbook " + path + " is read-only; the results could not be saved in it");
  // The version stored over is the one there before LibreOffice reads it.
  std::optional<StoreTarget> store;
  if (state_->options.asTransaction) store = storeTarget(file, file);
  return state_->open(path, file, file, state_->options.asTransaction, std::move(store));
}

std::shared_ptr<Workbook> LibreOfficeEngine::bindCopy(const std::string& path, const std::string& copy) {
  const std::string source = physicalPath(path), target = physicalPath(copy);
  return state_->open(copy, source, target, true, storeTarget(target, source));
}

void LibreOfficeEngine::tellWhenStarting(std::function<void(const std::string& notice)> tell) {
  state_->starting = std::move(tell);
}

void LibreOfficeEngine::closeDocumentsLoadedHere() {
  for (const auto& model : state_->loadedHere) closeQuietly(model);
  state_->loadedHere.clear();
  state_->heldUntilClosed.clear();
  state_->books.clear();
}

void LibreOfficeEngine::finishUnattended() {
  closeDocumentsLoadedHere();
  if (state_->office) state_->office->endOfficeIfStartedHereAndIdle();
}

}  // namespace vk
