#include "gateway_address.h"

#include <gtest/gtest.h>

#include <netdb.h>

namespace tw::rfclib {
namespace {

std::uint16_t port_of(const char* service, int sysnr) {
  std::uint16_t port = 0;
  std::string error;
  EXPECT_TRUE(gateway_port(service, sysnr, port, error)) << service << ": " << error;
  return port;
}

TEST(GatewayPort, NumbersSapgwNamesAndTheSystemNumber) {
  EXPECT_EQ(port_of("3312", 0), 3312);
  EXPECT_EQ(port_of("65535", 0), 65535);
  EXPECT_EQ(port_of("sapgw00", 5), 3300);
  EXPECT_EQ(port_of("SAPGW47", 0), 3347);
  EXPECT_EQ(port_of("sapgw99  ", 0), 3399);
  EXPECT_EQ(port_of("", 7), 3307);
  EXPECT_EQ(port_of("   ", 42), 3342);
}

TEST(GatewayPort, OtherNamesComeFromTheServiceDatabase) {
  const servent* ssh = ::getservbyname("ssh", "tcp");
  if (ssh == nullptr) GTEST_SKIP() << "no service database on this machine";
  EXPECT_EQ(port_of("ssh", 0), ntohs(static_cast<std::uint16_t>(ssh->s_port)));
}

TEST(GatewayPort, UnknownNamesAndImpossibleNumbersFail) {
  for (const char* service : {"no-such-service-here", "0", "65536", "99999999999", "sapgw1",
                              "sapgw123", "sapgwXY"}) {
    std::uint16_t port = 0;
    std::string error;
    EXPECT_FALSE(gateway_port(service, 0, port, error)) << service;
    EXPECT_EQ(error, "service '" + std::string(service) + "' unknown");
  }
}

TEST(GatewayAddress, GatewayHostOrElseTheApplicationServer) {
  GatewayAddress address;
  std::string error;
  ASSERT_TRUE(gateway_address("sapprd  ", 1, "", "", address, error)) << error;
  EXPECT_EQ(address.host, "sapprd");
  EXPECT_EQ(address.port, 3301);
  ASSERT_TRUE(gateway_address("sapprd", 1, "gwhost ", "3399", address, error)) << error;
  EXPECT_EQ(address.host, "gwhost");
  EXPECT_EQ(address.port, 3399);
  EXPECT_FALSE(gateway_address(" ", 0, "", "", address, error));
  EXPECT_FALSE(gateway_address("sapprd", 0, "", "nosuch-service-x", address, error));
  EXPECT_EQ(error, "service 'nosuch-service-x' unknown");
}

}  // namespace
}  // namespace tw::rfclib
