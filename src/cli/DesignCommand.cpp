#include "cli/DesignCommand.h"

#include "cli/GoodsFile.h"
#include "host_api/HostApi.h"
#include "platform/CodePage.h"

namespace korval::cli {

HostContext& DesignHost(const std::string& formsPrefix, const std::string& format,
                        const GoodsFile& goods) {
  HostContext& host = Host();
  host.SetFormPath(formsPrefix);
  host.SetExtensions(goods.ExtensionTable.data(),
                     static_cast<std::int32_t>(goods.ExtensionTable.size()));
  // The host names the format in its own code page.
  const std::string hostName = Utf8ToCp1250(format);
  host.SetParamsCopy(goods.Records.data(), static_cast<std::int32_t>(goods.Records.size()),
                     hostName.c_str(), -1);
  return host;
}

}  // namespace korval::cli
