#include "workbook/uno/LibreOfficeEngine.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <filesystem>
#include <map>

#include "module1/Fault.h"
#include "workbook/Ascii.h"
#include "workbook/uno/CalcWorkbook.h"
#include "workbook/uno/DocumentBinding.h"
#include "workbook/uno/OfficeConnection.h"
#include "workbook/uno/OfficeFault.h"

namespace vk {

using css::uno::Reference;

namespace {

std::string absolutePath(const std::string& path) {
  return std::filesystem::absolute(path).lexically_normal().string();
}

// LibreOffice's filter for a file of this extension, so that a stored
// workbook keeps the format its name promises.
rtl::OUString filterFor(const std::string& path) {
  const std::string ext = asciiLowerCase(std::filesystem::path(path).extension().string());
  if (ext == ".xlsx") return "Calc MS Excel 2007 XML";
  if (ext == ".xlsm") return "Calc MS Excel 2007 VBA XML";
  if (ext == ".xls") return "MS Excel 97";
  if (ext == ".ods") return "calc8";
  throw Fault(FaultKind::Workbook, "cannot store a workbook as " + path +
                                       ": the extension is not .xlsx, "
                                       ".xlsm, .xls or .ods");
}

}  // namespace

struct LibreOfficeEngine::State {
  LibreOfficeOptions options;
  std::shared_ptr<OfficeConnection> office;
  std::map<std::string, std::weak_ptr<CalcWorkbook>> books;  // by absolute path
  std::vector<Reference<css::frame::XModel>> loadedHere;
};

LibreOfficeEngine::LibreOfficeEngine(LibreOfficeOptions options) : state_(std::make_unique<State>()) {
  state_->options = std::move(options);
}

LibreOfficeEngine::~LibreOfficeEngine() = default;

std::shared_ptr<Workbook> LibreOfficeEngine::bind(const std::string& path) {
  if (path.empty()) throw Fault(FaultKind::Workbook, "no workbook file was named");
  const std::string absolute = absolutePath(path);
  if (auto it = state_->books.find(absolute); it != state_->books.end())
    if (auto book = it->second.lock(); book && book->alive()) return book;

  if (!state_->office || !state_->office->alive()) state_->office = std::make_shared<OfficeConnection>(state_->options);
  BoundDocument bound = officeCall([&] { return "open the workbook " + path; },
                                   [&] { return bindDocument(*state_->office, absolute, state_->options.loadHidden); });
  if (bound.loadedHere) state_->loadedHere.push_back(bound.model);
  auto book = std::make_shared<CalcWorkbook>(state_->office, bound.model, bound.url, path, state_->options);
  state_->books[absolute] = book;
  return book;
}

void LibreOfficeEngine::storeAs(Workbook& book, const std::string& path) {
  auto* calc = dynamic_cast<CalcWorkbook*>(&book);
  if (!calc) throw Fault(FaultKind::Workbook, "the workbook " + book.path() + " is not open in LibreOffice");
  book.commit();
  const rtl::OUString url = fileUrl(absolutePath(path));
  css::uno::Sequence<css::beans::PropertyValue> arguments(2);
  arguments.getArray()[0].Name = "FilterName";
  arguments.getArray()[0].Value <<= filterFor(path);
  arguments.getArray()[1].Name = "Overwrite";
  arguments.getArray()[1].Value <<= true;
  officeCall([&] { return "store the workbook into " + path; },
             [&] {
               Reference<css::frame::XStorable> storable(calc->document(), css::uno::UNO_QUERY_THROW);
               if (storable->getLocation() == url)
                 storable->store();
               else
                 storable->storeToURL(url, arguments);
             });
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
  state_->books.clear();
}

void LibreOfficeEngine::finishUnattended(const std::string& path) {
  struct Finally {
    State& state;
    LibreOfficeEngine& engine;
    ~Finally() {
      engine.closeDocumentsLoadedHere();
      if (state.office) state.office->endOfficeIfStartedHereAndIdle();
    }
  } finally{*state_, *this};
  if (state_->books.count(absolutePath(path)) == 0) return;  // the run never reached the workbook
  storeAs(*bind(path), path);
}

}  // namespace vk
