qirelo_add_test(NAME platform_net_test
    SOURCES net/socket_test.cpp
    LIBS qirelo_platform_net)
