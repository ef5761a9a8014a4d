#include "employee/company_header.h"

namespace kestrel {

std::optional<ReadError> LoadCompanyHeader(CompanyHeader& header,
                                           const std::filesystem::path& file) {
    if (FileMissing(file)) return std::nullopt;
    RecordReader in = RecordReader::Open(file);
    CompanyHeader read = header;
    in.Text(read.CompanyName);
    in.Text(read.CompanyAddress);
    in.Text(read.CompanyZipCode);
    in.Text(read.CompanyIdNumber);
    in.Finish();
    if (!in.Ok()) return in.Error();
    header = std::move(read);
    return std::nullopt;
}

RecordWriter HeaderRecords(const CompanyHeader& header, const std::filesystem::path& file) {
    RecordWriter out(file);
    out.Line({field::Text(header.CompanyName), field::Text(header.CompanyAddress),
              field::Text(header.CompanyZipCode), field::Text(header.CompanyIdNumber)});
    return out;
}

WriteResult SaveHeader(const CompanyHeader& header, const std::filesystem::path& file) {
    return HeaderRecords(header, file).Commit();
}

}  // namespace kestrel
