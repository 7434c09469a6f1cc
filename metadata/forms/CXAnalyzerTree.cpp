#include "metadata/forms/CXAnalyzerTree.h"

#include "app/StatusSink.h"
#include "framework/DialogRunner.h"
#include "metadata/forms/AnalysisWorker.h"

#include <QContextMenuEvent>

void CXAnalyzerTree::TagMessages::showStopBox(const std::string& text) {
    DialogRunner::critical(owner_, QStringLiteral("vyx31"), QString::fromStdString(text));
}

CXAnalyzerTree::CXAnalyzerTree(QWidget* parent) : QTreeWidget(parent), messages_(this), tags_(messages_) {
    worker_ = std::make_unique<AnalysisWorker>([this](std::uint64_t generation, AnalysisResult result) {
        QMetaObject::invokeMethod(
            this, [this, generation, result = std::move(result)] { receive(generation, result); }, Qt::QueuedConnection);
    });
}

CXAnalyzerTree::~CXAnalyzerTree() { worker_.reset(); }

void CXAnalyzerTree::AnalyseFile(const QString& path) {
    requestedPath_ = path;
    outstanding_ = true;
    worker_->request(++generation_, path.toStdString());
}

void CXAnalyzerTree::setStatusSink(StatusSink* sink) { status_ = sink; }
bool CXAnalyzerTree::isModified() const { return modified_; }
QString CXAnalyzerTree::filePath() const { return path_; }

void CXAnalyzerTree::receive(std::uint64_t generation, const AnalysisResult& result) {
    if (generation != generation_) return;
    outstanding_ = false;
    emit analysed(result.result);
}

void CXAnalyzerTree::Expand() {}
void CXAnalyzerTree::Collapse() {}
void CXAnalyzerTree::ExpandAll() {}
void CXAnalyzerTree::EditTags() {}
void CXAnalyzerTree::WriteTags() {}
void CXAnalyzerTree::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }
