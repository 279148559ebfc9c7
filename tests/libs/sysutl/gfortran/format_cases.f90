! Expected output of the Fortran-style FORMAT interpreter, as gfortran writes
! it. Each case prints a marker line "@@ n format", then the output of one
! WRITE statement, then a line "|" (which follows the output directly when the
! format ends the statement without a record end). The case table of
! fortran_format_test.cpp lists the same cases in the same order.
program format_cases
  implicit none
  real(4) :: rinf, rnan
  rinf = transfer(2139095040, 1.0)
  rnan = transfer(2143289344, 1.0)
  call mark(1, '(F5.2)')
  write (*, '(F5.2)') 1.0
  call done()
  call mark(2, '(F5.2)')
  write (*, '(F5.2)') -0.001
  call done()
  call mark(3, '(F5.2)')
  write (*, '(F5.2)') 0.125
  call done()
  call mark(4, '(F5.2)')
  write (*, '(F5.2)') 2.675
  call done()
  call mark(5, '(F3.0)')
  write (*, '(F3.0)') 0.5
  call done()
  call mark(6, '(F3.0)')
  write (*, '(F3.0)') 1.5
  call done()
  call mark(7, '(F3.0)')
  write (*, '(F3.0)') 2.5
  call done()
  call mark(8, '(F5.2)')
  write (*, '(F5.2)') 99.995
  call done()
  call mark(9, '(F8.2)')
  write (*, '(F8.2)') 1e10
  call done()
  call mark(10, '(F3.2)')
  write (*, '(F3.2)') 0.5
  call done()
  call mark(11, '(F4.2)')
  write (*, '(F4.2)') 0.5
  call done()
  call mark(12, '(F4.2)')
  write (*, '(F4.2)') -0.001
  call done()
  call mark(13, '(F3.2)')
  write (*, '(F3.2)') -0.001
  call done()
  call mark(14, '(F5.2)')
  write (*, '(F5.2)') -0.0
  call done()
  call mark(15, '(F5.2)')
  write (*, '(F5.2)') -0.004
  call done()
  call mark(16, '(F5.2)')
  write (*, '(F5.2)') -0.005
  call done()
  call mark(17, '(F5.2)')
  write (*, '(F5.2)') 0.0
  call done()
  call mark(18, '(F8.0)')
  write (*, '(F8.0)') 12345.6
  call done()
  call mark(19, '(F8.0)')
  write (*, '(F8.0)') -0.4
  call done()
  call mark(20, '(F8.0)')
  write (*, '(F8.0)') 0.0
  call done()
  call mark(21, '(F8.0)')
  write (*, '(F8.0)') 12345678.0
  call done()
  call mark(22, '(F8.0)')
  write (*, '(F8.0)') 1234567.0
  call done()
  call mark(23, '(F8.0)')
  write (*, '(F8.0)') -1234567.0
  call done()
  call mark(24, '(F10.2)')
  write (*, '(F10.2)') -1234567.25
  call done()
  call mark(25, '(F10.2)')
  write (*, '(F10.2)') 0.005
  call done()
  call mark(26, '(F10.2)')
  write (*, '(F10.2)') 0.015
  call done()
  call mark(27, '(F10.2)')
  write (*, '(F10.2)') 0.025
  call done()
  call mark(28, '(F10.2)')
  write (*, '(F10.2)') 1234567.0
  call done()
  call mark(29, '(F10.2)')
  write (*, '(F10.2)') -123456.78
  call done()
  call mark(30, '(F8.2)')
  write (*, '(F8.2)') -99999.99
  call done()
  call mark(31, '(F8.2)')
  write (*, '(F8.2)') -9999.99
  call done()
  call mark(32, '(F8.2)')
  write (*, '(F8.2)') 12345.678
  call done()
  call mark(33, '(F8.3)')
  write (*, '(F8.3)') 3.14159
  call done()
  call mark(34, '(F8.3)')
  write (*, '(F8.3)') -0.0005
  call done()
  call mark(35, '(F10.3)')
  write (*, '(F10.3)') -2.71828
  call done()
  call mark(36, '(F10.3)')
  write (*, '(F10.3)') 999999.9999
  call done()
  call mark(37, '(F12.4)')
  write (*, '(F12.4)') 12345.6789
  call done()
  call mark(38, '(F12.4)')
  write (*, '(F12.4)') 1.0e8
  call done()
  call mark(39, '(F12.4)')
  write (*, '(F12.4)') -1.0e6
  call done()
  call mark(40, '(F10.2)')
  write (*, '(F10.2)') 123.455d0
  call done()
  call mark(41, '(F10.2)')
  write (*, '(F10.2)') -0.125d0
  call done()
  call mark(42, '(F12.4)')
  write (*, '(F12.4)') 1d7
  call done()
  call mark(43, '(F20.10)')
  write (*, '(F20.10)') 0.1
  call done()
  call mark(44, '(F30.20)')
  write (*, '(F30.20)') 0.1d0
  call done()
  call mark(45, '(F2.0)')
  write (*, '(F2.0)') 0.4
  call done()
  call mark(46, '(F1.0)')
  write (*, '(F1.0)') 0.4
  call done()
  call mark(47, '(F6.1)')
  write (*, '(F6.1)') 3.4028235e38
  call done()
  call mark(48, '(F11.2)')
  write (*, '(F11.2)') 90.0
  call done()
  call mark(49, '(F13.2)')
  write (*, '(F13.2)') -45.125
  call done()
  call mark(50, '(F9.2)')
  write (*, '(F9.2)') 0.995
  call done()
  call mark(51, '(F5.4)')
  write (*, '(F5.4)') 0.1234
  call done()
  call mark(52, '(F6.1)')
  write (*, '(F6.1)') -12.05
  call done()
  call mark(53, '(F7.2)')
  write (*, '(F7.2)') 1.005
  call done()
  call mark(54, '(E14.7)')
  write (*, '(E14.7)') 12.345678
  call done()
  call mark(55, '(E14.7)')
  write (*, '(E14.7)') 0.0
  call done()
  call mark(56, '(E14.7)')
  write (*, '(E14.7)') -1e-30
  call done()
  call mark(57, '(E14.7)')
  write (*, '(E14.7)') 3.4028235e38
  call done()
  call mark(58, '(E14.7)')
  write (*, '(E14.7)') transfer(1, 1.0)
  call done()
  call mark(59, '(E14.7)')
  write (*, '(E14.7)') 1.17549435e-38
  call done()
  call mark(60, '(E14.7)')
  write (*, '(E14.7)') -0.5
  call done()
  call mark(61, '(E12.5)')
  write (*, '(E12.5)') 99999.5
  call done()
  call mark(62, '(E12.5)')
  write (*, '(E12.5)') 9.999995
  call done()
  call mark(63, '(E12.5)')
  write (*, '(E12.5)') -0.0
  call done()
  call mark(64, '(E12.5)')
  write (*, '(E12.5)') 1.0
  call done()
  call mark(65, '(E10.3)')
  write (*, '(E10.3)') 1d100
  call done()
  call mark(66, '(E10.3)')
  write (*, '(E10.3)') 1d-100
  call done()
  call mark(67, '(E10.3)')
  write (*, '(E10.3)') -1d300
  call done()
  call mark(68, '(E9.3)')
  write (*, '(E9.3)') -1.0
  call done()
  call mark(69, '(E8.3)')
  write (*, '(E8.3)') 1.0
  call done()
  call mark(70, '(E7.1)')
  write (*, '(E7.1)') 1.0
  call done()
  call mark(71, '(E6.1)')
  write (*, '(E6.1)') 1.0
  call done()
  call mark(72, '(E5.1)')
  write (*, '(E5.1)') 1.0
  call done()
  call mark(73, '(E12.3E3)')
  write (*, '(E12.3E3)') 1.0
  call done()
  call mark(74, '(E12.3E1)')
  write (*, '(E12.3E1)') 1e10
  call done()
  call mark(75, '(E10.4)')
  write (*, '(E10.4)') 123456.0
  call done()
  call mark(76, '(E12.4)')
  write (*, '(E12.4)') 0.00012345
  call done()
  call mark(77, '(E10.3)')
  write (*, '(E10.3)') 0.0009995
  call done()
  call mark(78, '(E9.2)')
  write (*, '(E9.2)') -1.0e10
  call done()
  call mark(79, '(1P,E9.2)')
  write (*, '(1P,E9.2)') 1234.5
  call done()
  call mark(80, '(2P,E10.2)')
  write (*, '(2P,E10.2)') 1.0
  call done()
  call mark(81, '(-1P,E10.2)')
  write (*, '(-1P,E10.2)') 1.0
  call done()
  call mark(82, '(1PE12.4)')
  write (*, '(1PE12.4)') 0.0
  call done()
  call mark(83, '(1P,E9.2,F6.2)')
  write (*, '(1P,E9.2,F6.2)') 1.0, 1.5
  call done()
  call mark(84, '(D12.4)')
  write (*, '(D12.4)') 1d0
  call done()
  call mark(85, '(F8.2)')
  write (*, '(F8.2)') rinf
  call done()
  call mark(86, '(F8.2)')
  write (*, '(F8.2)') -rinf
  call done()
  call mark(87, '(F5.2)')
  write (*, '(F5.2)') rnan
  call done()
  call mark(88, '(E14.7)')
  write (*, '(E14.7)') rinf
  call done()
  call mark(89, '(F3.1)')
  write (*, '(F3.1)') rinf
  call done()
  call mark(90, '(I2)')
  write (*, '(I2)') 5
  call done()
  call mark(91, '(I2)')
  write (*, '(I2)') 100
  call done()
  call mark(92, '(I2)')
  write (*, '(I2)') -5
  call done()
  call mark(93, '(I2)')
  write (*, '(I2)') -10
  call done()
  call mark(94, '(I3)')
  write (*, '(I3)') 0
  call done()
  call mark(95, '(I3.0)')
  write (*, '(I3.0)') 0
  call done()
  call mark(96, '(A,I3.0,A)')
  write (*, '(A,I3.0,A)') '[', 0, ']'
  call done()
  call mark(97, '(I5.3)')
  write (*, '(I5.3)') -7
  call done()
  call mark(98, '(I5.5)')
  write (*, '(I5.5)') -7
  call done()
  call mark(99, '(I1)')
  write (*, '(I1)') -1
  call done()
  call mark(100, '(I5)')
  write (*, '(I5)') 12345
  call done()
  call mark(101, '(I5)')
  write (*, '(I5)') -1234
  call done()
  call mark(102, '(I5)')
  write (*, '(I5)') -12345
  call done()
  call mark(103, '(I6)')
  write (*, '(I6)') 123456
  call done()
  call mark(104, '(I6)')
  write (*, '(I6)') -99999
  call done()
  call mark(105, '(I11)')
  write (*, '(I11)') -2147483647 - 1
  call done()
  call mark(106, '(I10)')
  write (*, '(I10)') -2147483647 - 1
  call done()
  call mark(107, '(I3)')
  write (*, '(I3)') 999
  call done()
  call mark(108, '(I3)')
  write (*, '(I3)') 1000
  call done()
  call mark(109, '(I4.2)')
  write (*, '(I4.2)') 3
  call done()
  call mark(110, '(A6)')
  write (*, '(A6)') 'ab'
  call done()
  call mark(111, '(A6)')
  write (*, '(A6)') 'abcdefgh'
  call done()
  call mark(112, '(A12)')
  write (*, '(A12)') 'Hello World!'
  call done()
  call mark(113, '(A3)')
  write (*, '(A3)') 'abcdef'
  call done()
  call mark(114, '(A6,A)')
  write (*, '(A6,A)') 'ab', '|'
  call done()
  call mark(115, '(A)')
  write (*, '(A)') 'full text'
  call done()
  call mark(116, '(A)')
  write (*, '(A)') ''
  call done()
  call mark(117, '(A63)')
  write (*, '(A63)') '1.5, 2.5'
  call done()
  call mark(118, '(A69)')
  write (*, '(A69)') '1 2 3'
  call done()
  call mark(119, '(A,A12,A)')
  write (*, '(A,A12,A)') '[', '', ']'
  call done()
  call mark(120, '(L1,L3)')
  write (*, '(L1,L3)') .true., .false.
  call done()
  call mark(121, '(L1)')
  write (*, '(L1)') .false.
  call done()
  call mark(122, '(L2)')
  write (*, '(L2)') .true.
  call done()
  call mark(123, '(A,5X)')
  write (*, '(A,5X)') 'ab'
  call done()
  call mark(124, '(A,5X,A)')
  write (*, '(A,5X,A)') 'ab', 'c'
  call done()
  call mark(125, '(2X,A,2X)')
  write (*, '(2X,A,2X)') 'x'
  call done()
  call mark(126, '(A,X,A)')
  write (*, '(A,X,A)') 'a', 'b'
  call done()
  call mark(127, '(A,T10)')
  write (*, '(A,T10)') 'ab'
  call done()
  call mark(128, '(A,T10,A,T2,A)')
  write (*, '(A,T10,A,T2,A)') 'abcd', 'x', 'Y'
  call done()
  call mark(129, '(A,TL2,A)')
  write (*, '(A,TL2,A)') 'abcd', 'Y'
  call done()
  call mark(130, '(A,TR2,A)')
  write (*, '(A,TR2,A)') 'abcd', 'Y'
  call done()
  call mark(131, '(A,TL9,A)')
  write (*, '(A,TL9,A)') 'abcd', 'Y'
  call done()
  call mark(132, '(A,T10,TL20,A)')
  write (*, '(A,T10,TL20,A)') 'abcd', 'Y'
  call done()
  call mark(133, '(TL2,A)')
  write (*, '(TL2,A)') 'x'
  call done()
  call mark(134, '(5X,TL2,A)')
  write (*, '(5X,TL2,A)') 'x'
  call done()
  call mark(135, '(1X,TL1,A)')
  write (*, '(1X,TL1,A)') 'x'
  call done()
  call mark(136, '(T22,A)')
  write (*, '(T22,A)') 'Text'
  call done()
  call mark(137, '(''a'',T5,''b'',TL3,''c'')')
  write (*, '(''a'',T5,''b'',TL3,''c'')')
  call done()
  call mark(138, '(A,3X,''lit'')')
  write (*, '(A,3X,''lit'')') 'ab'
  call done()
  call mark(139, '(I4,1X)')
  write (*, '(I4,1X)') 5
  call done()
  call mark(140, '(T5,I2)')
  write (*, '(T5,I2)') 1, 2
  call done()
  call mark(141, '(A,T3,A)')
  write (*, '(A,T3,A)') 'abcdef', 'X'
  call done()
  call mark(142, '(A,T3,3X,A)')
  write (*, '(A,T3,3X,A)') 'abcdef', 'X'
  call done()
  call mark(143, '(I3,/,I3)')
  write (*, '(I3,/,I3)') 1, 2
  call done()
  call mark(144, '(2/,I3)')
  write (*, '(2/,I3)') 1
  call done()
  call mark(145, '(I3,/)')
  write (*, '(I3,/)') 1
  call done()
  call mark(146, '(A,/)')
  write (*, '(A,/)') 'x', 'y'
  call done()
  call mark(147, '(A,I3/)')
  write (*, '(A,I3/)') 'x', 1, 'y'
  call done()
  call mark(148, '(A,2(/),A)')
  write (*, '(A,2(/),A)') 'a', 'b'
  call done()
  call mark(149, '(//)')
  write (*, '(//)')
  call done()
  call mark(150, '(/'' ++> Item Number '',I1)')
  write (*, '(/'' ++> Item Number '',I1)') 4
  call done()
  call mark(151, '(1X,A/3(6E12.4/))')
  write (*, '(1X,A/3(6E12.4/))') 'x', 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0
  call done()
  call mark(152, '(A,$)')
  write (*, '(A,$)') 'dollar'
  call done()
  call mark(153, '(A,$,A)')
  write (*, '(A,$,A)') 'd1', 'd2'
  call done()
  call mark(154, '(I3,$)')
  write (*, '(I3,$)') 1, 2, 3
  call done()
  call mark(155, '(I3,/,I3,$)')
  write (*, '(I3,/,I3,$)') 1, 2, 3, 4
  call done()
  call mark(156, '($,I3)')
  write (*, '($,I3)') 1, 2
  call done()
  call mark(157, '(I3,$,/,I3)')
  write (*, '(I3,$,/,I3)') 1, 2
  call done()
  call mark(158, '(1X,A,I3,''  '',$)')
  write (*, '(1X,A,I3,''  '',$)') 'Count', 12
  call done()
  call mark(159, '(1X,A,I3,''  '',$)')
  write (*, '(1X,A,I3,''  '',$)')
  call done()
  call mark(160, '('' Enter new data for #'',I3,1X,A,$)')
  write (*, '('' Enter new data for #'',I3,1X,A,$)') 7, '(x,y,z): '
  call done()
  call mark(161, '('' Enter new value: '',$)')
  write (*, '('' Enter new value: '',$)')
  call done()
  call mark(162, '(1X,I3,'' x'',$)')
  write (*, '(1X,I3,'' x'',$)') 5
  call done()
  call mark(163, '(A,5X,$)')
  write (*, '(A,5X,$)') 'ab'
  call done()
  call mark(164, '(3I4)')
  write (*, '(3I4)') 1, 2, 3, 4, 5
  call done()
  call mark(165, '(1X,2(I2,F5.1))')
  write (*, '(1X,2(I2,F5.1))') 1, 2.0, 3, 4.0, 5, 6.0
  call done()
  call mark(166, '(I2,2(I2,F5.1))')
  write (*, '(I2,2(I2,F5.1))') 1, 2, 2.0, 3, 4.0, 5, 6.0, 7, 8.0
  call done()
  call mark(167, '(I2,2(I2,3(I1)),I2)')
  write (*, '(I2,2(I2,3(I1)),I2)') 1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6
  call done()
  call mark(168, '(I2,(I3))')
  write (*, '(I2,(I3))') 1, 2, 3, 4
  call done()
  call mark(169, '(3(I2,''x''))')
  write (*, '(3(I2,''x''))') 1, 2
  call done()
  call mark(170, '(1X,I3,20('','',I3))')
  write (*, '(1X,I3,20('','',I3))') 1, 2, 3
  call done()
  call mark(171, '(60A4)')
  write (*, '(60A4)') 'abcdef', 'g'
  call done()
  call mark(172, '(1X,I1,'') ['',80A)')
  write (*, '(1X,I1,'') ['',80A)') 3, 'a', 'b', 'c'
  call done()
  call mark(173, '(1X,7E10.4)')
  write (*, '(1X,7E10.4)') 1.0, 123456.0, -1.0
  call done()
  call mark(174, '(1X,6F13.2)')
  write (*, '(1X,6F13.2)') 1.0, -2.5, 3.25, 4.125, 5.0625, 6.0, 7.5
  call done()
  call mark(175, '(F11.3,3(F13.3),2(F13.4))')
  write (*, '(F11.3,3(F13.3),2(F13.4))') 1.0, 2.0, 3.0, 4.0, 5.0, 6.0
  call done()
  call mark(176, '(I2,2(I2,1X),(I1))')
  write (*, '(I2,2(I2,1X),(I1))') 1, 2, 3, 4, 5, 6
  call done()
  call mark(177, '(2(I2,1X))')
  write (*, '(2(I2,1X))') 1, 2, 3
  call done()
  call mark(178, '(I2,('' x'',I2))')
  write (*, '(I2,('' x'',I2))') 1, 2, 3
  call done()
  call mark(179, '(I2,'' y'')')
  write (*, '(I2,'' y'')') 1, 2
  call done()
  call mark(180, '(''a'',I2)')
  write (*, '(''a'',I2)') 1, 2
  call done()
  call mark(181, '(''a'',I2,''b'')')
  write (*, '(''a'',I2,''b'')') 1, 2
  call done()
  call mark(182, '(''a'',I2)')
  write (*, '(''a'',I2)')
  call done()
  call mark(183, '(2X,I2)')
  write (*, '(2X,I2)') 1, 2
  call done()
  call mark(184, '(A,A)')
  write (*, '(A,A)') 'only'
  call done()
  call mark(185, '(5X,6(A3,7X))')
  write (*, '(5X,6(A3,7X))') 'T1', 'T2', 'T3'
  call done()
  call mark(186, '(4(I4,'' in Type '',I3,'' {'',A1,''}''))')
  write (*, '(4(I4,'' in Type '',I3,'' {'',A1,''}''))') 12, 3, 'x', 7, 14, 'y'
  call done()
  call mark(187, '(1X,5(F8.2,3X),E10.3,2X,F8.3)')
  write (*, '(1X,5(F8.2,3X),E10.3,2X,F8.3)') 1.0, 2.0, 3.0, 4.0, 5.0, 0.001234, -7.5
  call done()
  call mark(188, '(1X,F7.2,1X,3(F9.3,2X,F9.3,3X))')
  write (*, '(1X,F7.2,1X,3(F9.3,2X,F9.3,3X))') 10.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0
  call done()
  call mark(189, '(2X,F5.4,5X,F8.2,4X,F11.2,3X,F11.2,4X,1P,E9.2,5X,E9.2)')
  write (*, '(2X,F5.4,5X,F8.2,4X,F11.2,3X,F11.2,4X,1P,E9.2,5X,E9.2)') 0.1234, 1.0, 2.0, 3.0, 1234.5, -0.00123
  call done()
  call mark(190, '(''it''''s'')')
  write (*, '(''it''''s'')')
  call done()
  call mark(191, '("q""q")')
  write (*, '("q""q")')
  call done()
  call mark(192, '(5HHello,1X,''it''''s'',1X,"q""q")')
  write (*, '(5HHello,1X,''it''''s'',1X,"q""q")')
  call done()
  call mark(193, '(1H1)')
  write (*, '(1H1)')
  call done()
  call mark(194, '(A,'' lit '',I3,'' after'')')
  write (*, '(A,'' lit '',I3,'' after'')') 'x'
  call done()
  call mark(195, '(A,'' lit '',I3,'' after'')')
  write (*, '(A,'' lit '',I3,'' after'')') 'x', 5
  call done()
  call mark(196, '()')
  write (*, '()')
  call done()
  call mark(197, '(1X)')
  write (*, '(1X)')
  call done()
  call mark(198, '(F5.2 , 2X ,  I2)')
  write (*, '(F5.2 , 2X ,  I2)') 1.0, 3
  call done()
  call mark(199, '( 1X,I2,'') Swell peak period ......................... ''   ,F11.2,'' seconds'')')
  write (*, '( 1X,I2,'') Swell peak period ......................... ''   ,F11.2,'' seconds'')') 3, 12.5
  call done()
  call mark(200, '(1X,I2 ,'') Global swell heading ...................... ''   ,F11.2,'' degrees'')')
  write (*, '(1X,I2 ,'') Global swell heading ...................... ''   ,F11.2,'' degrees'')') 4, -180.0
  call done()
  call mark(201, '(1x,i2,f6.2,a,l1)')
  write (*, '(1x,i2,f6.2,a,l1)') 1, 2.5, 'z', .true.
  call done()
  call mark(202, '('' LW,LWK'',5I5)')
  write (*, '('' LW,LWK'',5I5)') 1, 2, 3, 4, 5
  call done()
  call mark(203, '(A30,F9.2)')
  write (*, '(A30,F9.2)') 'Label', 3.5
  call done()
  call mark(204, '(1X,I2,'')'',1X,A,1X,A12)')
  write (*, '(1X,I2,'')'',1X,A,1X,A12)') 3, 'Depth', '............'
  call done()
  call mark(205, '(1X,A20,2X,A20,2X,A20)')
  write (*, '(1X,A20,2X,A20,2X,A20)') '****************************************', 'Page 1: Title', &
      '****************************************'
  call done()
  call mark(206, '(15X,''WATER DEPTH ............................'',F6.1,1X,A8)')
  write (*, '(15X,''WATER DEPTH ............................'',F6.1,1X,A8)') 100.0, 'ft'
  call done()
  call mark(207, '(1X,A,'':'',I3)')
  write (*, '(1X,A,'':'',I3)') 'a', 1, 'b', 2
  call done()
contains
  subroutine mark(n, f)
    integer, intent(in) :: n
    character(*), intent(in) :: f
    write (*, '(a,i0,1x,a)') '@@ ', n, f
  end subroutine

  subroutine done()
    write (*, '(a)') '|'
  end subroutine
end program format_cases
