! Expected results of the Fortran-style input conversions, as gfortran reads
! them. Each case is read from an internal file whose length is the length of
! the case text, and printed as one line:
!   I|0|0|text|ok value            "(BN,Iw)", w = length of text
!   F|d|0|text|ok bits             "(BN,Fw.d)", bits = the REAL(4) bit pattern
!   LI|0|n|text|ok v1 v2 ...       list-directed read of n default integers
!   LR|0|n|text|ok b1 b2 ...       list-directed read of n REAL(4) (bit patterns)
! "ok" is the iostat class: ok (0), err (> 0) or end (< 0). List values start
! as 901, 902, ... so that values left unchanged can be seen.
program read_cases
  implicit none
  call ci('     6')
  call ci('    -3')
  call ci(' - 3  ')
  call ci('+42')
  call ci('1 2 3 ')
  call ci('      ')
  call ci('-')
  call ci('-     ')
  call ci('+     ')
  call ci('3-    ')
  call ci('1.0   ')
  call ci('1.    ')
  call ci('12a   ')
  call ci('a     ')
  call ci('--3   ')
  call ci('2147483647')
  call ci('2147483648')
  call ci('-2147483648')
  call ci('-2147483649')
  call ci('99999999999')
  call ci('  0   ')
  call ci('-0    ')
  call ci('  12345')
  call ci('1e2   ')

  call cf('25', 0)
  call cf('2 5         ', 0)
  call cf('1.5         ', 0)
  call cf('   -1.5     ', 0)
  call cf('-  1.5      ', 0)
  call cf('            ', 0)
  call cf('-           ', 0)
  call cf('.           ', 0)
  call cf('-.          ', 0)
  call cf('.5          ', 0)
  call cf('5.          ', 0)
  call cf('1.5E3       ', 0)
  call cf('1.5e3       ', 0)
  call cf('1.5D3       ', 0)
  call cf('1.5d-3      ', 0)
  call cf('1.5Q3       ', 0)
  call cf('1.5+3       ', 0)
  call cf('1.5-3       ', 0)
  call cf('15+3        ', 0)
  call cf('1.5 E 3     ', 0)
  call cf('1.5E 3 1    ', 0)
  call cf('1.5E        ', 0)
  call cf('1.5E+       ', 0)
  call cf('1.5E3X      ', 0)
  call cf('1.5E3.      ', 0)
  call cf('E5          ', 0)
  call cf('-E5         ', 0)
  call cf('1.2.3       ', 0)
  call cf('1-2-3       ', 0)
  call cf('abc         ', 0)
  call cf('1a          ', 0)
  call cf('+-1         ', 0)
  call cf('0.1         ', 0)
  call cf('0.3         ', 0)
  call cf('3.4028235E38', 0)
  call cf('3.4028236E38', 0)
  call cf('1E39        ', 0)
  call cf('-1E39       ', 0)
  call cf('1E-39       ', 0)
  call cf('1E-50       ', 0)
  call cf('16777217    ', 0)
  call cf('16777219    ', 0)
  call cf('0.1000000015', 0)
  call cf('123456789012', 0)
  call cf('NaN         ', 0)
  call cf('Inf         ', 0)
  call cf('-Infinity   ', 0)
  call cf('infinity    ', 0)
  call cf('nan         ', 0)
  call cf('  -0        ', 0)
  call cf('25          ', 2)
  call cf('2 5         ', 2)
  call cf('2.5         ', 2)
  call cf('25E1        ', 2)
  call cf('-125        ', 3)
  call cf('1,5         ', 0)

  call li('1 2 3', 3)
  call li('1,2,3', 3)
  call li(' 1 , 2 , 3 ', 3)
  call li('1,,3', 3)
  call li(',2,3', 3)
  call li(' ,2', 3)
  call li('1 2', 3)
  call li('1,2,', 3)
  call li('1,2,,', 3)
  call li('1 2 3 4', 3)
  call li('3*7', 3)
  call li('2*7 8', 3)
  call li('2* 8', 3)
  call li('2*,8', 3)
  call li('1 2*', 3)
  call li('5*7', 3)
  call li('0*7', 3)
  call li('1 / 3', 3)
  call li('1/', 3)
  call li('/', 3)
  call li('1,/', 3)
  call li('1 1.5 3', 3)
  call li('1 x 3', 3)
  call li('1 2x 3', 3)
  call li('-4 +5 6', 3)
  call li('- 4', 3)
  call li('1 99999999999 3', 3)
  call li('', 3)
  call li('      ', 3)
  call li('1'//char(9)//'2', 3)
  call li('1 2 3 4 5 6 7 8 9 10 11 12                                           ', 12)
  call li('1e3 2', 3)
  call li('*3', 3)
  call li('2*3*4', 3)

  call lr('1.5', 3)
  call lr('1.5 2 -3e1', 3)
  call lr('1.5,,3', 3)
  call lr(',,3', 3)
  call lr('1.5,2.5,', 3)
  call lr('2*0.5', 3)
  call lr('2*0.5 1', 3)
  call lr('1 abc 3', 3)
  call lr('1 2.5.1 3', 3)
  call lr('1.5+3 2', 3)
  call lr('1.5d2 1.5q2', 3)
  call lr('.5 -.5 5.', 3)
  call lr('0.1 0.3 3.4028235E38', 3)
  call lr('1 2 3 4', 3)
  call lr('  1   2  ', 3)
  call lr('1,2,3,4', 3)
  call lr('1 , , 3', 3)
  call lr('-', 3)
  call lr('1 2e 3', 3)
  call lr('1 3* 4', 3)
  call lr('1.5 x', 3)
  call lr('1E-50 2', 3)
  call lr('1 2.5 3                                                        ', 3)
contains
  subroutine ci(s)
    character(*), intent(in) :: s
    character(20) :: f
    integer :: v, ios
    v = -77
    write (f, '(a,i0,a)') '(BN,I', len(s), ')'
    read (s, f, iostat=ios) v
    write (*, '(a,a,a,a,1x,i0)') 'I|0|0|', s, '|', cls(ios), v
  end subroutine

  subroutine cf(s, d)
    character(*), intent(in) :: s
    integer, intent(in) :: d
    character(20) :: f
    real(4) :: v
    integer :: ios
    v = -77.0
    write (f, '(a,i0,a,i0,a)') '(BN,F', len(s), '.', d, ')'
    read (s, f, iostat=ios) v
    write (*, '(a,i0,a,a,a,a,1x,i0,a,es16.8e3,a)') 'F|', d, '|0|', s, '|', cls(ios), &
        transfer(v, 0), ' (', v, ')'
  end subroutine

  subroutine li(s, n)
    character(*), intent(in) :: s
    integer, intent(in) :: n
    integer :: v(20), ios, i
    do i = 1, n
      v(i) = 900 + i
    end do
    read (s, *, iostat=ios) (v(i), i = 1, n)
    write (*, '(a,i0,a,a,a,a,20(1x,i0))') 'LI|0|', n, '|', s, '|', cls(ios), (v(i), i = 1, n)
  end subroutine

  subroutine lr(s, n)
    character(*), intent(in) :: s
    integer, intent(in) :: n
    real(4) :: v(20)
    integer :: ios, i
    do i = 1, n
      v(i) = 900 + i
    end do
    read (s, *, iostat=ios) (v(i), i = 1, n)
    write (*, '(a,i0,a,a,a,a,20(1x,i0))') 'LR|0|', n, '|', s, '|', cls(ios), &
        (transfer(v(i), 0), i = 1, n)
  end subroutine

  function cls(ios) result(c)
    integer, intent(in) :: ios
    character(3) :: c
    if (ios == 0) then
      c = 'ok'
    else if (ios > 0) then
      c = 'err'
    else
      c = 'end'
    end if
  end function
end program read_cases
