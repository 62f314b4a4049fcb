import java.applet.Applet;
import java.awt.BorderLayout;
import java.awt.Color;
import java.awt.Image;
import java.awt.MediaTracker;
import java.awt.Panel;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.net.MalformedURLException;
import java.net.URL;
import java.nio.ByteBuffer;
import java.nio.charset.CharacterCodingException;
import java.nio.charset.Charset;
import java.nio.charset.CodingErrorAction;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;

/**
 * The Torvexa applet: reads the album page's parameters, loads the album's picture
 * list, lays out the banner, the index, the view area and the controls, and moves
 * between pictures when a panel asks it to.
 */
@SuppressWarnings("removal")
public class PhotoAlbum extends Applet {
  private static final long serialVersionUID = 1L;

  /** Only this many pictures of an album are shown; the program warns about more. */
  public static final int MAX_PICTURES = 100;
  public static final Color DEFAULT_FRAME_COLOR = new Color(0x00CCFF);
  public static final Color DEFAULT_TEXT_COLOR = new Color(0x0000FF);
  /** How long a shown picture may take to arrive before it is drawn as it comes. */
  private static final long PICTURE_WAIT_MILLIS = 10000;

  private final List<String> names_ = new ArrayList<String>();
  private final List<String> comments_ = new ArrayList<String>();
  private Image[] images_ = new Image[0];
  private MediaTracker tracker_;
  private int current_ = -1;
  private boolean truncated_;

  private BannerPanel banner_;
  private IndexPanel index_;
  private AlbumLeaf leaf_;
  private AlbumNavigationPanel navigation_;
  private AlbumControlPanel controls_;

  @Override
  public void init() {
    Color frame = parseColor(getParameter("frame_bg_color"), DEFAULT_FRAME_COLOR);
    Color text = parseColor(getParameter("text_prompt_color"), DEFAULT_TEXT_COLOR);
    setBackground(frame);
    setForeground(text);

    String indexText = readIndex(getParameter("index_file"));
    if (indexText != null) {
      truncated_ = parseIndex(indexText, names_, comments_, MAX_PICTURES);
    }
    tracker_ = new MediaTracker(this);
    images_ = new Image[names_.size()];
    String imageBase = getParameter("image_base");
    for (int i = 0; i < images_.length; i++) {
      URL url = pictureUrl(imageBase, names_.get(i));
      images_[i] = url == null ? null : getImage(url);
    }

    banner_ = new BannerPanel(getImage(getCodeBase(), "photo_album.gif"), frame, text);
    index_ = new IndexPanel(this, images_, frame, text);
    leaf_ = new AlbumLeaf(frame, text);
    navigation_ = new AlbumNavigationPanel(this, frame);
    controls_ = new AlbumControlPanel(leaf_, frame, text);

    Panel side = new Panel(new BorderLayout(0, 8));
    side.setBackground(frame);
    side.add(navigation_, BorderLayout.NORTH);
    side.add(controls_, BorderLayout.CENTER);

    setLayout(new BorderLayout(6, 6));
    add(banner_, BorderLayout.NORTH);
    add(index_, BorderLayout.WEST);
    add(leaf_, BorderLayout.CENTER);
    add(side, BorderLayout.EAST);

    if (indexText == null) {
      leaf_.showMessage(rmInfo.NO_INDEX);
    } else if (names_.isEmpty()) {
      leaf_.showMessage(rmInfo.EMPTY_ALBUM);
    } else {
      showPicture(0);
    }
    navigation_.update(current_, names_.size());
    banner_.setNote(truncated_ ? rmInfo.LIMIT_NOTE : "");
  }

  @Override
  public String getAppletInfo() {
    return rmInfo.appletInfo();
  }

  @Override
  public String[][] getParameterInfo() {
    return rmInfo.parameterInfo();
  }

  /** Shows picture i of the index with its comment; out-of-range positions are ignored. */
  public void showPicture(int i) {
    if (i < 0 || i >= names_.size()) return;
    current_ = i;
    String name = names_.get(i);
    String comment = comments_.get(i);
    Image image = images_[i];
    if (image == null || !waitForPicture(i)) {
      leaf_.showMissing(name, comment);
    } else {
      leaf_.showPicture(image, name, comment);
    }
    index_.select(i);
    navigation_.update(i, names_.size());
    banner_.setPosition(rmInfo.position(i, names_.size()));
  }

  public void showFirst() { showPicture(0); }
  public void showPrevious() { showPicture(current_ - 1); }
  public void showNext() { showPicture(current_ + 1); }
  public void showLast() { showPicture(names_.size() - 1); }

  public int getCurrentPicture() { return current_; }
  public int getPictureCount() { return names_.size(); }
  public boolean isTruncated() { return truncated_; }
  public BannerPanel getBanner() { return banner_; }
  public IndexPanel getIndexPanel() { return index_; }
  public AlbumLeaf getAlbumLeaf() { return leaf_; }
  public AlbumNavigationPanel getNavigationPanel() { return navigation_; }
  public AlbumControlPanel getControlPanel() { return controls_; }

  /** Waits for picture i to arrive; false when it cannot be loaded. */
  private boolean waitForPicture(int i) {
    tracker_.addImage(images_[i], i);
    try {
      tracker_.waitForID(i, PICTURE_WAIT_MILLIS);
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
    }
    return !tracker_.isErrorID(i);
  }

  /** The index file's text, or null when the parameter is absent or the file cannot be read. */
  private String readIndex(String indexFile) {
    if (indexFile == null || indexFile.trim().isEmpty()) return null;
    InputStream in = null;
    try {
      in = new URL(getCodeBase(), indexFile.trim()).openStream();
      ByteArrayOutputStream bytes = new ByteArrayOutputStream();
      byte[] buffer = new byte[8192];
      for (int n = in.read(buffer); n >= 0; n = in.read(buffer)) bytes.write(buffer, 0, n);
      return decodeIndex(bytes.toByteArray());
    } catch (IOException e) {
      return null;
    } finally {
      if (in != null) {
        try {
          in.close();
        } catch (IOException ignored) {
          // The text is already read; a failed close changes nothing for the visitor.
        }
      }
    }
  }

  /**
   * Index files are written as Windows-1252, or whole as UTF-8 when a comment holds a
   * character that code page lacks: text that is valid UTF-8 is read as UTF-8.
   */
  public static String decodeIndex(byte[] bytes) {
    try {
      String text = StandardCharsets.UTF_8.newDecoder()
          .onMalformedInput(CodingErrorAction.REPORT)
          .onUnmappableCharacter(CodingErrorAction.REPORT)
          .decode(ByteBuffer.wrap(bytes)).toString();
      return text.startsWith("\uFEFF") ? text.substring(1) : text;
    } catch (CharacterCodingException notUtf8) {
      return new String(bytes, Charset.forName("windows-1252"));
    }
  }

  /**
   * Splits index text into pictures: each is a file-name line, a comment line and a
   * "~" line. Takes at most max pictures and answers whether more were listed. A
   * damaged entry (no "~" where one belongs) is skipped up to the next "~" line.
   */
  public static boolean parseIndex(String text, List<String> names, List<String> comments, int max) {
    String[] lines = text.split("\r\n|\r|\n");
    int i = 0;
    boolean more = false;
    while (i < lines.length) {
      if (lines[i].isEmpty()) {
        i++;
        continue;
      }
      String name = lines[i];
      String comment = i + 1 < lines.length ? lines[i + 1] : "";
      boolean wellFormed = i + 2 >= lines.length || lines[i + 2].equals("~");
      if (wellFormed) {
        if (names.size() == max) {
          more = true;
          break;
        }
        names.add(name);
        comments.add(comment);
        i += 3;
      } else {
        i += 2;
        while (i < lines.length && !lines[i].equals("~")) i++;
        i++;
      }
    }
    return more;
  }

  /**
   * "RRGGBB" (a leading "#" allowed) as a colour; anything else gives the fallback,
   * so a mistyped page still shows a readable viewer.
   */
  public static Color parseColor(String value, Color fallback) {
    if (value == null) return fallback;
    String hex = value.trim();
    if (hex.startsWith("#")) hex = hex.substring(1);
    if (hex.length() != 6) return fallback;
    for (int i = 0; i < 6; i++) {
      if (Character.digit(hex.charAt(i), 16) < 0) return fallback;
    }
    return new Color(Integer.parseInt(hex, 16));
  }

  /** The picture's address: the image folder, then the file name percent-encoded as one segment. */
  private URL pictureUrl(String imageBase, String name) {
    String base = imageBase == null ? "" : imageBase.trim();
    if (!base.isEmpty() && !base.endsWith("/")) base += "/";
    try {
      return new URL(getCodeBase(), base + encodeSegment(name));
    } catch (MalformedURLException e) {
      return null;
    }
  }

  /** Percent-encodes everything but unreserved characters, as UTF-8 bytes. */
  public static String encodeSegment(String name) {
    StringBuilder out = new StringBuilder();
    for (byte b : name.getBytes(StandardCharsets.UTF_8)) {
      int c = b & 0xFF;
      boolean plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
          || c == '-' || c == '.' || c == '_' || c == '~';
      if (plain) {
        out.append((char) c);
      } else {
        out.append('%').append(Character.toUpperCase(Character.forDigit(c >> 4, 16)))
            .append(Character.toUpperCase(Character.forDigit(c & 0xF, 16)));
      }
    }
    return out.toString();
  }
}
