#include "PdbModule.h"

#include <cstring>

#include <llvm/DebugInfo/CodeView/SymbolDeserializer.h>
#include <llvm/DebugInfo/CodeView/SymbolRecord.h>
#include <llvm/DebugInfo/PDB/Native/DbiModuleDescriptor.h>
#include <llvm/DebugInfo/PDB/Native/DbiModuleList.h>
#include <llvm/DebugInfo/PDB/Native/DbiStream.h>
#include <llvm/DebugInfo/PDB/Native/InfoStream.h>
#include <llvm/DebugInfo/PDB/Native/ModuleDebugStream.h>
#include <llvm/DebugInfo/PDB/Native/PDBFile.h>
#include <llvm/DebugInfo/PDB/Native/RawConstants.h>
#include <llvm/DebugInfo/PDB/Native/SymbolStream.h>
#include <llvm/DebugInfo/PDB/Native/TpiStream.h>
#include <llvm/Object/COFF.h>
#include <llvm/Support/Allocator.h>
#include <llvm/Support/BinaryByteStream.h>
#include <llvm/Support/MemoryBuffer.h>

#include "MsfLayoutCheck.h"
#include "NilStreamCheck.h"
#include "StreamContentChecks.h"
#include "dbghelp/DbgHelp.h"

namespace dbghelp {

using namespace llvm::codeview;
using namespace llvm::pdb;

// The open file and what is read from it lazily: module streams are opened
// when a function symbol first points into them.
struct PdbModule::Storage {
    llvm::BumpPtrAllocator allocator;
    std::unique_ptr<PDBFile> file;
    // The module descriptors the module information holds, read one by one
    // up to its end or its first damaged one; the count in the header of
    // the file information is not trusted.
    std::vector<DbiModuleDescriptor> modules;
    std::vector<std::unique_ptr<ModuleDebugStreamRef>> moduleStreams;
    std::vector<bool> moduleStreamTried;
    std::vector<uint32_t> sectionAddresses;  // virtual address of each section, segment 1 first

    ModuleDebugStreamRef* ModuleStream(uint32_t moduleIndex);
};

namespace {

std::string Describe(llvm::Error error) { return llvm::toString(std::move(error)); }

template <typename RecordType>
bool Deserialize(const CVSymbol& symbol, RecordType& result) {
    if (auto error = SymbolDeserializer::deserializeAs(symbol, result)) {
        llvm::consumeError(std::move(error));
        return false;
    }
    return true;
}

bool HasPrefix(const CVSymbol& symbol) { return symbol.data().size() >= sizeof(RecordPrefix); }

}  // namespace

ModuleDebugStreamRef* PdbModule::Storage::ModuleStream(uint32_t moduleIndex) {
    if (moduleIndex >= moduleStreams.size()) return nullptr;
    if (!moduleStreamTried[moduleIndex]) {
        moduleStreamTried[moduleIndex] = true;
        const DbiModuleDescriptor& descriptor = modules[moduleIndex];
        const uint16_t streamIndex = descriptor.getModuleStreamIndex();
        if (streamIndex == kInvalidStreamIndex) return nullptr;
        auto stream = file->safelyCreateIndexedStream(streamIndex);
        if (!stream) {
            llvm::consumeError(stream.takeError());
            return nullptr;
        }
        auto module = std::make_unique<ModuleDebugStreamRef>(descriptor, std::move(*stream));
        if (auto error = module->reload()) {
            llvm::consumeError(std::move(error));
            return nullptr;
        }
        moduleStreams[moduleIndex] = std::move(module);
    }
    return moduleStreams[moduleIndex].get();
}

PdbModule::PdbModule() : storage_(std::make_unique<Storage>()) {}

PdbModule::~PdbModule() = default;

std::unique_ptr<PdbModule> PdbModule::Open(const std::string& pdbPath, const PeImageFacts& image,
                                           std::string& reason) {
    std::unique_ptr<PdbModule> module(new PdbModule());
    if (!module->Load(pdbPath, image, reason)) return nullptr;
    return module;
}

bool PdbModule::Load(const std::string& pdbPath, const PeImageFacts& image, std::string& reason) {
    auto buffer = llvm::MemoryBuffer::getFile(pdbPath, /*IsText=*/false, /*RequiresNullTerminator=*/false);
    if (!buffer) {
        reason = "cannot open " + pdbPath + ": " + buffer.getError().message();
        return false;
    }
    const llvm::ArrayRef<uint8_t> bytes(reinterpret_cast<const uint8_t*>((*buffer)->getBufferStart()),
                                        (*buffer)->getBufferSize());
    if (!CheckMsfLayout(bytes, reason)) {
        reason = pdbPath + " is damaged: " + reason;
        return false;
    }
    auto stream = std::make_unique<llvm::MemoryBufferByteStream>(std::move(*buffer), llvm::support::little);
    storage_->file = std::make_unique<PDBFile>(pdbPath, std::move(stream), storage_->allocator);
    PDBFile& file = *storage_->file;
    if (auto error = file.parseFileHeaders()) {
        reason = pdbPath + " is no PDB file: " + Describe(std::move(error));
        return false;
    }
    if (auto error = file.parseStreamData()) {
        reason = pdbPath + " is damaged: " + Describe(std::move(error));
        return false;
    }
    if (!CheckFixedStreamsNotNil(file, reason) || !CheckNamedStreamMap(file, reason) ||
        !CheckTypeStream(file, reason)) {
        reason = pdbPath + " is damaged: " + reason;
        return false;
    }

    auto info = file.getPDBInfoStream();
    if (!info) {
        reason = pdbPath + " has no information stream: " + Describe(info.takeError());
        return false;
    }
    auto dbi = file.getPDBDbiStream();
    if (!dbi) {
        reason = pdbPath + " has no debug information stream: " + Describe(dbi.takeError());
        return false;
    }
    if (image.hasPdbSignature) {
        const GUID guid = info->getGuid();
        const bool sameGuid = std::memcmp(guid.Guid, image.pdbGuid.data(), image.pdbGuid.size()) == 0;
        const bool sameAge = image.pdbAge == info->getAge() || image.pdbAge == dbi->getAge();
        if (!sameGuid || !sameAge) {
            reason = pdbPath + " does not match the image (another build)";
            return false;
        }
    }

    for (const llvm::object::coff_section& section : dbi->getSectionHeaders())
        storage_->sectionAddresses.push_back(section.VirtualAddress);
    const llvm::VarStreamArray<DbiModuleDescriptor> descriptors(dbi->getModiSubstreamData().StreamData);
    for (const DbiModuleDescriptor& descriptor : descriptors) storage_->modules.push_back(descriptor);
    if (!CheckSymbolStreamsNotNil(file, dbi->getSymRecordStreamIndex(), storage_->modules, reason)) {
        reason = pdbPath + " is damaged: " + reason;
        return false;
    }
    storage_->moduleStreams.resize(storage_->modules.size());
    storage_->moduleStreamTried.assign(storage_->modules.size(), false);

    auto tpi = file.getPDBTpiStream();
    if (!tpi) {
        reason = pdbPath + " has no type stream: " + Describe(tpi.takeError());
        return false;
    }
    types_ = std::make_unique<PdbTypes>(tpi->typeArray());
    return ReadSymbols(reason);
}

bool PdbModule::ReadSymbols(std::string& reason) {
    PDBFile& file = *storage_->file;
    auto records = file.getPDBSymbolStream();
    if (!records) {
        reason = "no global symbols: " + Describe(records.takeError());
        return false;
    }
    const auto& sections = storage_->sectionAddresses;
    auto relativeAddress = [&sections](uint16_t segment, uint32_t offset, uint32_t& rva) {
        if (segment == 0 || segment > sections.size()) return false;  // absolute or unknown
        rva = sections[segment - 1] + offset;
        return true;
    };

    bool hadError = false;
    for (const CVSymbol& symbol : records->getSymbols(&hadError)) {
        if (!HasPrefix(symbol)) continue;
        const SymbolKind kind = symbol.kind();
        if (kind == SymbolKind::S_GDATA32 || kind == SymbolKind::S_LDATA32) {
            DataSym data(static_cast<SymbolRecordKind>(kind));
            GlobalSymbol global;
            if (!Deserialize(symbol, data) || !relativeAddress(data.Segment, data.DataOffset, global.rva))
                continue;
            global.name = data.Name.str();
            global.typeIndex = types_->Resolve(data.Type.getIndex());
            global.tag = SymTagData;
            symbols_.push_back(std::move(global));
        } else if (kind == SymbolKind::S_PROCREF || kind == SymbolKind::S_LPROCREF) {
            ProcRefSym reference(static_cast<SymbolRecordKind>(kind));
            if (!Deserialize(symbol, reference) || reference.Module == 0) continue;
            ModuleDebugStreamRef* module = storage_->ModuleStream(reference.Module - 1u);
            // The offset must leave room for a record prefix inside the
            // module's symbols, or the lookup would read past them.
            if (module == nullptr ||
                static_cast<uint64_t>(reference.SymOffset) + sizeof(RecordPrefix) >
                    module->getSymbolsSubstream().size())
                continue;
            const CVSymbol target = module->readSymbolAtOffset(reference.SymOffset);
            if (!HasPrefix(target) ||
                (target.kind() != SymbolKind::S_GPROC32 && target.kind() != SymbolKind::S_LPROC32))
                continue;
            ProcSym procedure(static_cast<SymbolRecordKind>(target.kind()));
            GlobalSymbol global;
            if (!Deserialize(target, procedure) ||
                !relativeAddress(procedure.Segment, procedure.CodeOffset, global.rva))
                continue;
            global.name = procedure.Name.str();
            global.typeIndex = types_->Resolve(procedure.FunctionType.getIndex());
            global.tag = SymTagFunction;
            global.codeSize = procedure.CodeSize;
            symbols_.push_back(std::move(global));
        }
    }
    return true;
}

bool PdbModule::DataAddress(const std::string& name, uint32_t& rva) {
    // Only static members ask, and plain C has none: the index is built on
    // the first question.
    if (!dataAddressesIndexed_) {
        dataAddressesIndexed_ = true;
        for (const GlobalSymbol& symbol : symbols_)
            if (symbol.tag == SymTagData) dataAddresses_.emplace(symbol.name, symbol.rva);
    }
    const auto found = dataAddresses_.find(name);
    if (found == dataAddresses_.end()) return false;
    rva = found->second;
    return true;
}

}  // namespace dbghelp
