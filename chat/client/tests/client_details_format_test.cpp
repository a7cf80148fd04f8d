// The client details file and the login rules, as pure texts and bytes.
#include "chat/client/client_details.h"

#include <gtest/gtest.h>

#include "chat/client/login_rules.h"

using namespace chatclient;

namespace {

TEST(LoginRules, NamesAndAddressesAsTheServerWantsThem) {
    std::string message;
    EXPECT_FALSE(validateName("7eleven", message));
    EXPECT_EQ(message, "Invalid name.\n\nYour username must start with a letter.");
    EXPECT_FALSE(validateName("", message));
    EXPECT_EQ(message, "Invalid name.\n\nYour username must start with a letter.");
    EXPECT_FALSE(validateName("John Doe", message));
    EXPECT_EQ(message, "Invalid name.\n\nYour username cannot contain a space.");
    EXPECT_FALSE(validateName("jo-hn", message));
    EXPECT_EQ(message, "Invalid name.\n\nYour username contains invalid characters.");
    EXPECT_TRUE(validateName("Alice2", message));

    EXPECT_FALSE(validateEmail("alice.example.com"));
    EXPECT_FALSE(validateEmail("alice@example"));
    EXPECT_FALSE(validateEmail("@alice.example"));
    EXPECT_FALSE(validateEmail(".alice@example"));
    EXPECT_TRUE(validateEmail("a@b.c"));
    EXPECT_TRUE(validateEmail("x.y@z"));
}

TEST(ClientDetails, TheFileAsTheFormWritesAndReadsIt) {
    // Name Alice, an empty e-mail box, server srv, port 9191: 20 bytes of
    // text in one length byte and 24 enciphered bytes.
    const std::string file = encodeClientDetails({"Alice", "", "srv", "9191"});
    ASSERT_EQ(file.size(), 25u);
    EXPECT_EQ(static_cast<unsigned char>(file[0]), 24);

    // The empty e-mail box shifts the words on the next load.
    ClientDetails loaded{"", "", "design", "9191"};
    ASSERT_TRUE(decodeClientDetails(file, loaded));
    EXPECT_EQ(loaded.name, "Alice");
    EXPECT_EQ(loaded.email, "srv");
    EXPECT_EQ(loaded.server, "9191");
    EXPECT_EQ(loaded.port, "1");

    // Sixteen bytes of text take a whole extra block.
    EXPECT_EQ(static_cast<unsigned char>(encodeClientDetails({"Abc", "a@b.c", "", ""})[0]), 24);

    // Texts too long for the length byte are cut, never wrapped: 240 bytes
    // of text, the most the byte allows after padding.
    const std::string longText(200, 'n');
    const std::string big = encodeClientDetails({longText, longText, longText, longText});
    EXPECT_EQ(static_cast<unsigned char>(big[0]), 248);
    EXPECT_EQ(big.size(), 249u);
    ASSERT_TRUE(decodeClientDetails(big, loaded));
    EXPECT_EQ(loaded.name, std::string(kStoredTextLimit, 'n'));
}

TEST(ClientDetails, ADamagedOrShortFileLoadsNothing) {
    const std::string file = encodeClientDetails({"Alice", "a@b.c", "srv", "9191"});
    const ClientDetails before{"keep", "these", "design", "9191"};
    for (const std::string& damaged :
         {std::string(), std::string(1, '\0'), std::string(1, '\x07') + file.substr(1),
          file.substr(0, file.size() - 1), std::string(1, '\xF8') + file.substr(1)}) {
        ClientDetails details = before;
        EXPECT_FALSE(decodeClientDetails(damaged, details)) << damaged.size();
        EXPECT_EQ(details.name, "keep");
        EXPECT_EQ(details.email, "these");
    }
}

}  // namespace
