# Wave volume and power-off.
qirelo_add_test(NAME platform_system_test SOURCES system_test.cpp LIBS qirelo_platform_system)
